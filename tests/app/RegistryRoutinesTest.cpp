#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "app/RegistryRoutines.h"
#include "platform/Cp1252.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr const char* FamilyKey = "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alps4711";

class RegistryRoutinesTest : public ::testing::Test {
protected:
    RegistryRoutinesTest() { catalog.fill("Eng"); }

    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
};

TEST_F(RegistryRoutinesTest, StringWriteCreatesParentsAndReadsBack) {
    routines.fStringSpeichern(HKLM, std::string(FamilyKey) + "\\1", "TDB", "Z:\\maps\\Alps.TDB");
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, std::string(FamilyKey) + "\\1", "TDB"), "Z:\\maps\\Alps.TDB");
    // Stored as REG_SZ with its terminating NUL.
    auto stored = registry.queryValue(HKLM, std::string(FamilyKey) + "\\1", "tdb");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::String);
    EXPECT_EQ(stored->data.size(), (16u + 1u) * 2u);
}

TEST_F(RegistryRoutinesTest, BinaryValuesReadAsOneCharacterPerByte) {
    routines.ffStringSpeichern(HKLM, FamilyKey, "ID", "\xC3\x92\x04");  // U+00D2 then 0x04: FID 1234
    auto stored = registry.queryValue(HKLM, FamilyKey, "ID");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::Binary);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0xD2, 0x04}));
    const std::string text = routines.fRegAbfrageWert(HKLM, FamilyKey, "ID");
    EXPECT_EQ(text, "\xC3\x92\x04");
    EXPECT_EQ(platform::utf8Length(text), 2u);
}

TEST_F(RegistryRoutinesTest, ZeroByteCutsBinaryValue) {
    // FID 10 is stored as 0A 00; the read stops at the NUL.
    registry.createKey(HKLM, FamilyKey);
    registry.setValue(HKLM, FamilyKey, "ID", RegistryValue::fromBytes({0x0A, 0x00}));
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "ID"), "\n");
}

TEST_F(RegistryRoutinesTest, BlanksAreTrimmedBeforeTheNulCut) {
    registry.createKey(HKLM, FamilyKey);
    registry.setValue(HKLM, FamilyKey, "Blank", RegistryValue::fromString("      "));
    registry.setValue(HKLM, FamilyKey, "Padded", RegistryValue::fromString("  x  "));
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "Blank"), "");
    // Leading blanks go; the blanks before the NUL stay, as the trim runs first.
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "Padded"), "x  ");
}

TEST_F(RegistryRoutinesTest, MissingKeyValueOrTooLongValueReadsEmpty) {
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, "SOFTWARE\\Nothing", "TDB"), "");
    registry.createKey(HKLM, FamilyKey);
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "TDB"), "");
    // The query buffer holds 256 bytes; a longer value does not fit.
    registry.setValue(HKLM, FamilyKey, "Long", RegistryValue::fromString(std::string(256, 'a')));
    registry.setValue(HKLM, FamilyKey, "Fits", RegistryValue::fromString(std::string(255, 'a')));
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "Long"), "");
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "Fits"), std::string(255, 'a'));
}

TEST_F(RegistryRoutinesTest, KeyWithoutWriteAccessReadsEmpty) {
    routines.fStringSpeichern(HKLM, FamilyKey, "TYP", "C:\\a.typ");
    registry.denyWriteAccess(HKLM, "SOFTWARE\\Wow6432Node\\Garmin");
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "TYP"), "");
}

TEST_F(RegistryRoutinesTest, NonAsciiTextSurvivesTheCodePage) {
    routines.fStringSpeichern(HKLM, FamilyKey, "TYP", "C:\\Karten\\Österreich ß.typ");
    EXPECT_EQ(routines.fRegAbfrageWert(HKLM, FamilyKey, "TYP"), "C:\\Karten\\Österreich ß.typ");
}

TEST_F(RegistryRoutinesTest, VerifiedWriteReportsAValueThatDoesNotStick) {
    routines.HKCUStringSpeichern(RegistryRoot::CurrentUser, "Software\\VELDRA", "Dir", "/maps");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(routines.registryWritable());

    registry.dropWritesUnder(RegistryRoot::CurrentUser, "Software\\VELDRA");
    routines.HKCUStringSpeichern(RegistryRoot::CurrentUser, "Software\\VELDRA", "Dir", "/other");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgRegistryWriteFailed));
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA");
    EXPECT_EQ(dialogs.messages[0].buttons, app::MessageButtons::Ok);
    EXPECT_FALSE(routines.registryWritable());
}

TEST_F(RegistryRoutinesTest, DeletingCreatesAMissingKeyFirst) {
    routines.fWerteLoeschen(HKLM, FamilyKey, "TYP");
    EXPECT_TRUE(registry.keyExists(HKLM, FamilyKey));

    routines.fStringSpeichern(HKLM, std::string(FamilyKey) + "\\1", "TDB", "x");
    routines.fSchluesselLoeschen(HKLM, FamilyKey);  // has a subkey: stays
    EXPECT_TRUE(registry.keyExists(HKLM, FamilyKey));
    routines.fSchluesselLoeschen(HKLM, std::string(FamilyKey) + "\\1");
    routines.fSchluesselLoeschen(HKLM, FamilyKey);
    EXPECT_FALSE(registry.keyExists(HKLM, FamilyKey));
    // Deleting a key that never existed creates it and deletes it again.
    routines.fSchluesselLoeschen(HKLM, "SOFTWARE\\Garmin\\Nowhere");
    EXPECT_FALSE(registry.keyExists(HKLM, "SOFTWARE\\Garmin\\Nowhere"));
}

}  // namespace
}  // namespace veldra
