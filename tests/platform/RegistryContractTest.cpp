// What every registry backend must do alike, run against each of them: names
// without regard to case, wineserver's order, what Windows refuses, and edits
// that store all their changes at once or none of them.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/AtomicFile.h"
#include "platform/MemoryRegistry.h"
#include "platform/RegistryPath.h"
#include "platform/WinePrefixRegistry.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;

class MemoryBackend {
public:
    Registry& registry() { return registry_; }
    // Nothing is stored outside the object itself.
    std::optional<std::string> stored() const { return std::nullopt; }
    void failNextCommit() { registry_.failNextCommit(); }

private:
    MemoryRegistry registry_;
};

// A prefix with both files; a failed commit is simulated by a failing write
// of user.reg, the file written second.
class WineBackend {
public:
    WineBackend() {
        std::ofstream(prefix_.path() / "system.reg", std::ios::binary)
            << "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
        std::ofstream(prefix_.path() / "user.reg", std::ios::binary)
            << "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n";
        registry_.emplace(prefix_.path(), [this](const fs::path& file, std::string_view bytes) {
            if (failUserWrite_ && file.filename() == "user.reg") {
                failUserWrite_ = false;
                return FileResult{false, "simulated write failure"};
            }
            return replaceFileAtomically(file, bytes);
        });
    }
    Registry& registry() { return *registry_; }
    std::optional<std::string> stored() const { return read("system.reg") + '\f' + read("user.reg"); }
    void failNextCommit() { failUserWrite_ = true; }

private:
    std::string read(const char* name) const {
        std::ifstream in(prefix_.path() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing::TempDir prefix_;
    bool failUserWrite_ = false;
    std::optional<WinePrefixRegistry> registry_;
};

template <typename Backend>
class RegistryContract : public ::testing::Test {
protected:
    Backend backend;
    Registry& registry = backend.registry();
};

using Backends = ::testing::Types<MemoryBackend, WineBackend>;
TYPED_TEST_SUITE(RegistryContract, Backends);

TYPED_TEST(RegistryContract, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "SOFTWARE\\Garmin\\Ärger Ω"), regerror::Success);
    ASSERT_EQ(r.createKey(HKLM, "software\\GARMIN\\ärger ω\\Sub"), regerror::Success);
    ASSERT_EQ(r.setValue(HKLM, "software\\garmin\\ÄRGER Ω", "Bmap", RegistryValue::fromString("x")), regerror::Success);
    ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin\\ärger ω", "BMAP", RegistryValue::fromString("y")), regerror::Success);

    EXPECT_EQ(r.queryValue(HKLM, "SOFTWARE\\GARMIN\\ÄRGER Ω", "bmap"), RegistryValue::fromString("y"));
    EXPECT_EQ(r.subkeyNames(HKLM, "Software\\Garmin"), std::vector<std::string>{"Ärger Ω"});
    EXPECT_EQ(r.subkeyNames(HKLM, "Software\\Garmin\\ärger ω"), std::vector<std::string>{"Sub"});
    EXPECT_EQ(r.valueNames(HKLM, "Software\\Garmin\\Ärger Ω"), std::vector<std::string>{"Bmap"});
    EXPECT_TRUE(r.keyExists(HKLM, "software\\garmin\\ärger ω\\sub"));
    // The two roots are apart.
    EXPECT_FALSE(r.keyExists(HKCU, "Software\\Garmin"));
}

TYPED_TEST(RegistryContract, EnumeratesInWineserversOrder) {
    Registry& r = this->registry;
    for (const char* name : {"b", "Ä", "_x", "A1", "ab", "a", "Z"}) {
        ASSERT_EQ(r.createKey(HKCU, std::string("K\\") + name), regerror::Success);
        ASSERT_EQ(r.setValue(HKCU, "K", name, RegistryValue::fromDword(1)), regerror::Success);
    }
    const std::vector<std::string> order{"_x", "a", "A1", "ab", "b", "Z", "Ä"};
    EXPECT_EQ(r.subkeyNames(HKCU, "K"), order);
    EXPECT_EQ(r.valueNames(HKCU, "K"), order);
}

TYPED_TEST(RegistryContract, GivesAllValuesOfAKeyAtOnce) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "Software\\Garmin\\Fam\\1"), regerror::Success);
    for (const auto& [name, value] : {std::pair{"TDB", RegistryValue::fromString("C:\\a.tdb")},
                                      {"Bmap", RegistryValue::fromString("C:\\b.img")},
                                      {"ID", RegistryValue::fromDword(4711)},
                                      {"BMAP", RegistryValue::fromString("C:\\c.img")}})
        ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin\\Fam", name, value), regerror::Success);

    // In valueNames' order, each name in its first spelling with its latest data.
    const std::vector<NamedRegistryValue> expected{{"Bmap", RegistryValue::fromString("C:\\c.img")},
                                                   {"ID", RegistryValue::fromDword(4711)},
                                                   {"TDB", RegistryValue::fromString("C:\\a.tdb")}};
    EXPECT_EQ(r.values(HKLM, "SOFTWARE\\garmin\\FAM"), expected);
    EXPECT_TRUE(r.values(HKLM, "Software\\Garmin\\Fam\\1").empty());
    EXPECT_TRUE(r.values(HKLM, "Software\\Garmin\\Other").empty());
    EXPECT_TRUE(r.values(HKCU, "Software\\Garmin\\Fam").empty());

    // An edit's reads see its changes.
    ASSERT_TRUE(r.beginEdit());
    ASSERT_EQ(r.deleteValue(HKLM, "Software\\Garmin\\Fam", "bmap"), regerror::Success);
    EXPECT_EQ(r.values(HKLM, "Software\\Garmin\\Fam"),
              std::vector<NamedRegistryValue>(expected.begin() + 1, expected.end()));
    r.rollbackEdit();
    EXPECT_EQ(r.values(HKLM, "Software\\Garmin\\Fam"), expected);
}

// The backends compare ASCII names byte by byte: that holds only while no
// unit folds into ASCII or out of it.
TEST(RegistryNames, FoldingKeepsAsciiAndTheRestApart) {
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit)
        ASSERT_EQ(unit < 0x80, foldRegistryUnit(static_cast<char16_t>(unit)) < 0x80) << std::hex << unit;
    EXPECT_TRUE(equalsIgnoreCase("Software\\Garmin", "SOFTWARE\\garmin"));
    EXPECT_FALSE(equalsIgnoreCase("TDB", "TDB "));
    EXPECT_TRUE(equalsIgnoreCase("Ärger Ω", "äRGER ω"));
    EXPECT_EQ(foldCase("Ärger ΩMap"), "ärger ωmap");
}

TYPED_TEST(RegistryContract, RefusesWhatWindowsRefuses) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "A\\B"), regerror::Success);
    ASSERT_EQ(r.createKey(HKLM, "A\\B"), regerror::Success);  // already there
    EXPECT_EQ(r.deleteKey(HKLM, "A"), regerror::KeyHasChildren);
    EXPECT_EQ(r.deleteKey(HKLM, "A\\C"), regerror::FileNotFound);
    EXPECT_EQ(r.deleteKey(HKLM, ""), regerror::AccessDenied);
    EXPECT_EQ(r.setValue(HKLM, "A\\C", "v", RegistryValue::fromDword(1)), regerror::FileNotFound);
    EXPECT_FALSE(r.keyExists(HKLM, "A\\C"));
    EXPECT_EQ(r.deleteValue(HKLM, "A\\B", "v"), regerror::FileNotFound);
    EXPECT_EQ(r.deleteValue(HKLM, "A\\C", "v"), regerror::FileNotFound);

    ASSERT_EQ(r.setValue(HKLM, "A\\B", "v", RegistryValue::fromDword(1)), regerror::Success);
    ASSERT_EQ(r.deleteValue(HKLM, "a\\b", "V"), regerror::Success);
    EXPECT_TRUE(r.keyExists(HKLM, "A\\B"));
    ASSERT_EQ(r.deleteKey(HKLM, "A\\B"), regerror::Success);
    EXPECT_FALSE(r.keyExists(HKLM, "A\\B"));  // a key read just before is gone too
    ASSERT_EQ(r.deleteKey(HKLM, "A"), regerror::Success);
    EXPECT_FALSE(r.keyExists(HKLM, "A"));

    // Keys are at most 512 levels deep; a far deeper path is an error, not a crash.
    std::string deepest = "D";
    for (int level = 1; level < 512; ++level) deepest += "\\D";
    EXPECT_EQ(r.createKey(HKCU, deepest), regerror::Success);
    EXPECT_EQ(r.createKey(HKCU, deepest + "\\D"), regerror::InvalidParameter);
    std::string hostile;
    for (int level = 0; level < 40000; ++level) hostile += "x\\";
    EXPECT_EQ(r.createKey(HKCU, hostile), regerror::InvalidParameter);
    EXPECT_FALSE(r.keyExists(HKCU, hostile));
    EXPECT_EQ(r.setValue(HKCU, hostile, "v", RegistryValue::fromDword(1)), regerror::FileNotFound);
}

TYPED_TEST(RegistryContract, AnEditIsStoredOnlyWhenItIsCommitted) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "Software\\Before"), regerror::Success);
    const auto before = this->backend.stored();

    ASSERT_TRUE(r.beginEdit());
    EXPECT_TRUE(r.inEdit());
    EXPECT_FALSE(r.beginEdit());  // one edit at a time
    ASSERT_EQ(r.createKey(HKLM, "Software\\Garmin\\Topo"), regerror::Success);
    ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin\\Topo", "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
    ASSERT_EQ(r.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    ASSERT_EQ(r.deleteKey(HKLM, "Software\\Before"), regerror::Success);
    // The edit sees its own changes; nothing is stored yet.
    EXPECT_EQ(r.queryValue(HKLM, "Software\\Garmin\\Topo", "ID"), RegistryValue::fromBytes({0xd2, 0x04}));
    EXPECT_FALSE(r.keyExists(HKLM, "Software\\Before"));
    EXPECT_EQ(this->backend.stored(), before);

    ASSERT_TRUE(r.commitEdit());
    EXPECT_FALSE(r.inEdit());
    EXPECT_FALSE(r.commitEdit());  // nothing left to commit
    EXPECT_EQ(r.queryValue(HKLM, "Software\\Garmin\\Topo", "ID"), RegistryValue::fromBytes({0xd2, 0x04}));
    EXPECT_TRUE(r.keyExists(HKCU, "Software\\VELDRA"));
    EXPECT_FALSE(r.keyExists(HKLM, "Software\\Before"));
    if (before) {
        EXPECT_NE(this->backend.stored(), before);
    }
}

TYPED_TEST(RegistryContract, RollbackLeavesEverythingAsItWas) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "Software\\Garmin"), regerror::Success);
    ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin", "v", RegistryValue::fromDword(1)), regerror::Success);
    const auto before = this->backend.stored();

    ASSERT_TRUE(r.beginEdit());
    ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin", "v", RegistryValue::fromDword(2)), regerror::Success);
    ASSERT_EQ(r.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    ASSERT_EQ(r.deleteValue(HKLM, "Software\\Garmin", "v"), regerror::Success);
    ASSERT_EQ(r.deleteKey(HKLM, "Software\\Garmin"), regerror::Success);
    r.rollbackEdit();

    EXPECT_FALSE(r.inEdit());
    EXPECT_EQ(r.queryValue(HKLM, "Software\\Garmin", "v"), RegistryValue::fromDword(1));
    EXPECT_FALSE(r.keyExists(HKCU, "Software\\VELDRA"));
    EXPECT_EQ(this->backend.stored(), before);
    EXPECT_FALSE(r.commitEdit());
}

TYPED_TEST(RegistryContract, AFailedCommitLeavesEverythingAsItWas) {
    Registry& r = this->registry;
    ASSERT_EQ(r.createKey(HKLM, "Software\\Garmin"), regerror::Success);
    ASSERT_EQ(r.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    const auto before = this->backend.stored();

    ASSERT_TRUE(r.beginEdit());
    ASSERT_EQ(r.setValue(HKLM, "Software\\Garmin", "v", RegistryValue::fromDword(2)), regerror::Success);
    ASSERT_EQ(r.setValue(HKCU, "Software\\VELDRA", "Language", RegistryValue::fromString("Eng")), regerror::Success);
    this->backend.failNextCommit();
    const Status committed = r.commitEdit();
    ASSERT_FALSE(committed);
    EXPECT_FALSE(committed.failure().detail.empty());

    EXPECT_FALSE(r.inEdit());
    EXPECT_EQ(r.queryValue(HKLM, "Software\\Garmin", "v"), std::nullopt);
    EXPECT_EQ(r.queryValue(HKCU, "Software\\VELDRA", "Language"), std::nullopt);
    EXPECT_EQ(this->backend.stored(), before);

    // The next edit works again.
    ASSERT_TRUE(r.beginEdit());
    ASSERT_EQ(r.setValue(HKCU, "Software\\VELDRA", "Language", RegistryValue::fromString("Eng")), regerror::Success);
    ASSERT_TRUE(r.commitEdit());
    EXPECT_EQ(r.queryValue(HKCU, "Software\\VELDRA", "Language"), RegistryValue::fromString("Eng"));
}

TYPED_TEST(RegistryContract, AChangeOutsideAnEditIsStoredOnItsOwn) {
    Registry& r = this->registry;
    const auto empty = this->backend.stored();
    ASSERT_EQ(r.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    const auto created = this->backend.stored();
    if (empty) {
        EXPECT_NE(created, empty);
    }

    this->backend.failNextCommit();
    EXPECT_EQ(r.setValue(HKCU, "Software\\VELDRA", "Language", RegistryValue::fromString("Eng")), regerror::AccessDenied);
    EXPECT_EQ(r.queryValue(HKCU, "Software\\VELDRA", "Language"), std::nullopt);
    EXPECT_EQ(this->backend.stored(), created);
    EXPECT_FALSE(r.inEdit());
}

}  // namespace
}  // namespace veldra::platform
