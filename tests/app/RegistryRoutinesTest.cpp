#include "app/RegistryRoutines.h"

#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "platform/Cp1252.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
constexpr auto HKLM = RegistryRoot::LocalMachine;
const std::string FamilyKey = "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alps4711";

class RegistryRoutinesTest : public ::testing::Test {
protected:
    RegistryRoutinesTest() { catalog.fill("Eng"); }

    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
};

TEST_F(RegistryRoutinesTest, StringsAndBinaryValuesAreWrittenWithTheirParentsAndReadBack) {
    EXPECT_TRUE(routines.storeString(HKLM, FamilyKey + "\\1", "TDB", "Z:\\maps\\Alps.TDB").ok());
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey + "\\1", "TDB"), "Z:\\maps\\Alps.TDB");
    // Stored as REG_SZ with its terminating NUL.
    auto stored = registry.queryValue(HKLM, FamilyKey + "\\1", "tdb");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::String);
    EXPECT_EQ(stored->data.size(), (16u + 1u) * 2u);
    // Text beyond ASCII survives the code page.
    EXPECT_TRUE(routines.storeString(HKLM, FamilyKey, "TYP", "C:\\Karten\\Österreich ß.typ").ok());
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "TYP"), "C:\\Karten\\Österreich ß.typ");

    // Binary values read as one character per byte.
    EXPECT_TRUE(routines.storeTextAsBinary(HKLM, FamilyKey, "ID", "\xC3\x92\x04").ok());  // U+00D2 then 0x04: FID 1234
    EXPECT_EQ(registry.queryValue(HKLM, FamilyKey, "ID"), RegistryValue::fromBytes({0xD2, 0x04}));
    const std::string text = routines.queryText(HKLM, FamilyKey, "ID");
    EXPECT_EQ(text, "\xC3\x92\x04");
    EXPECT_EQ(platform::utf8Length(text), 2u);
}

// A query trims blanks, then cuts at the first NUL; a missing value, one longer
// than the 256-byte buffer, or a key without write access reads empty.
TEST_F(RegistryRoutinesTest, QueriesTrimCutOrReadEmpty) {
    registry.createKey(HKLM, FamilyKey);
    registry.setValue(HKLM, FamilyKey, "ID", RegistryValue::fromBytes({0x0A, 0x00}));  // FID 10
    registry.setValue(HKLM, FamilyKey, "Blank", RegistryValue::fromString("      "));
    registry.setValue(HKLM, FamilyKey, "Padded", RegistryValue::fromString("  x  "));
    registry.setValue(HKLM, FamilyKey, "Long", RegistryValue::fromString(std::string(256, 'a')));
    registry.setValue(HKLM, FamilyKey, "Fits", RegistryValue::fromString(std::string(255, 'a')));
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "ID"), "\n");
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "Blank"), "");
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "Padded"), "x  ");  // the blanks before the NUL stay
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "Long"), "");
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "Fits"), std::string(255, 'a'));
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "TDB"), "");
    EXPECT_EQ(routines.queryText(HKLM, "SOFTWARE\\Nothing", "TDB"), "");
    registry.denyWriteAccess(HKLM, "SOFTWARE\\Wow6432Node\\Garmin");
    EXPECT_EQ(routines.queryText(HKLM, FamilyKey, "Fits"), "");
}

TEST_F(RegistryRoutinesTest, VerifiedWriteReportsAValueThatDoesNotStick) {
    EXPECT_TRUE(routines.storeStringVerified(RegistryRoot::CurrentUser, "Software\\VELDRA", "Dir", "/maps").ok());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(routines.registryWritable());

    registry.dropWritesUnder(RegistryRoot::CurrentUser, "Software\\VELDRA");
    const auto refused = routines.storeStringVerified(RegistryRoot::CurrentUser, "Software\\VELDRA", "Dir", "/other");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().kind, FailureKind::AlreadyShown);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgRegistryWriteFailed));
    EXPECT_EQ(dialogs.messages[0].buttons, app::MessageButtons::Ok);
    EXPECT_FALSE(routines.registryWritable());
}

TEST_F(RegistryRoutinesTest, DeletingCreatesAMissingKeyFirst) {
    EXPECT_TRUE(routines.deleteValue(HKLM, FamilyKey, "TYP").ok());
    EXPECT_TRUE(registry.keyExists(HKLM, FamilyKey));

    EXPECT_TRUE(routines.storeString(HKLM, FamilyKey + "\\1", "TDB", "x").ok());
    EXPECT_TRUE(routines.deleteKey(HKLM, FamilyKey).ok());  // has a subkey: stays
    EXPECT_TRUE(registry.keyExists(HKLM, FamilyKey));
    EXPECT_TRUE(routines.deleteKey(HKLM, FamilyKey + "\\1").ok());
    EXPECT_TRUE(routines.deleteKey(HKLM, FamilyKey).ok());
    EXPECT_FALSE(registry.keyExists(HKLM, FamilyKey));
    // Deleting a key that never existed creates it and deletes it again.
    EXPECT_TRUE(routines.deleteKey(HKLM, "SOFTWARE\\Garmin\\Nowhere").ok());
    EXPECT_FALSE(registry.keyExists(HKLM, "SOFTWARE\\Garmin\\Nowhere"));
}

}  // namespace
}  // namespace veldra
