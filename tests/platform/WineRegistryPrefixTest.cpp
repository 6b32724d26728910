// The registry of a Wine prefix as VELDRA edits it in the prefix's files,
// without Wine: new prefixes, refused files, backups, results of each call.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "support/PrefixTestSupport.h"
#include "platform/WinePrefixRegistry.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::string Family = "Software\\Wow6432Node\\Garmin\\MapSource\\Families\\Topo1234";

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

const std::string WineSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\Machine

#arch=win64

[Software\\Classes\\.txt] 1796488537
#time=1dd84d6a8508e2a
@="txtfile"

[Software\\Wow6432Node\\Classes] 1796488532
#time=1dd84d6a5ba12ee
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\
  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\
  74,00,77,00,61,00,72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,\
  00
)";

TEST(WineRegistryPrefix, NewPrefixGetsFilesWithWinesHeader) {
    TempDir prefix;
    WinePrefixRegistry registry(prefix.path());
    EXPECT_TRUE(registry.keyExists(HKLM, ""));
    EXPECT_FALSE(registry.keyExists(HKLM, "Software"));
    EXPECT_EQ(registry.writeBlocker(), std::nullopt);

    ASSERT_EQ(registry.createKey(HKLM, Family + "\\1"), regerror::Success);
    EXPECT_EQ(readText(prefix.path() / "system.reg")
                  .rfind("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n"
                         "[Software\\\\Wow6432Node\\\\Garmin\\\\MapSource\\\\Families\\\\Topo1234\\\\1] ",
                         0),
              0u);
    EXPECT_FALSE(fs::exists(prefix.path() / "user.reg"));
    EXPECT_FALSE(fs::exists(prefix.path() / "system.reg.veldra-bak"));  // nothing to keep

    EXPECT_EQ(registry.setValue(HKCU, "Software\\VELDRA", "Language", RegistryValue::fromString("Eng")),
              regerror::FileNotFound);
    ASSERT_EQ(registry.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, "Software\\VELDRA", "Language", RegistryValue::fromString("Eng")),
              regerror::Success);
    const std::string user = readText(prefix.path() / "user.reg");
    EXPECT_EQ(user.rfind("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                         "#arch=win64\n\n[Software\\\\VELDRA] ",
                         0),
              0u)
        << user;
    EXPECT_NE(user.find("\n\"Language\"=\"Eng\"\n"), std::string::npos);

    // A user.reg made beside an existing system.reg follows its architecture.
    TempDir prefix32;
    writeText(prefix32.path() / "system.reg", "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win32\n");
    WinePrefixRegistry registry32(prefix32.path());
    ASSERT_EQ(registry32.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    EXPECT_NE(readText(prefix32.path() / "user.reg").find("\n#arch=win32\n"), std::string::npos);
}

TEST(WineRegistryPrefix, HostLayoutReadsBackInTheNextRun) {
    TempDir prefix;
    writeText(prefix.path() / "system.reg", WineSystemReg);
    {
        WinePrefixRegistry registry(prefix.path());
        ASSERT_EQ(registry.createKey(HKLM, Family + "\\1"), regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, Family, "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, Family, "TYP", RegistryValue::fromString("C:\\Karten\\Österreich Topo ß\\T.TYP")),
                  regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, Family + "\\1", "TDB", RegistryValue::fromString("C:\\Karten\\T.TDB")),
                  regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, Family + "\\1", "LOC", RegistryValue::fromString("C:\\Karten\\")),
                  regerror::Success);
        // A second write of a name in another case replaces the value and keeps its spelling.
        ASSERT_EQ(registry.setValue(HKLM, Family + "\\1", "tdb", RegistryValue::fromString("C:\\Karten\\U.TDB")),
                  regerror::Success);
    }
    WinePrefixRegistry registry(prefix.path());
    const std::string family = "SOFTWARE\\WOW6432NODE\\garmin\\mapsource\\families\\topo1234";
    EXPECT_EQ(registry.queryValue(HKLM, family, "id"), RegistryValue::fromBytes({0xd2, 0x04}));
    EXPECT_EQ(registry.queryValue(HKLM, family, "Typ")->text(), "C:\\Karten\\Österreich Topo ß\\T.TYP");
    EXPECT_EQ(registry.queryValue(HKLM, family + "\\1", "TDB")->text(), "C:\\Karten\\U.TDB");
    EXPECT_EQ(registry.valueNames(HKLM, family + "\\1"), (std::vector<std::string>{"LOC", "TDB"}));
    EXPECT_EQ(registry.subkeyNames(HKLM, "Software\\Wow6432Node\\Garmin\\MapSource\\Families"),
              std::vector<std::string>{"Topo1234"});
    EXPECT_EQ(registry.queryValue(HKLM, family, "BMAP"), std::nullopt);
    // The link to Software\Classes is followed and left as it was.
    EXPECT_EQ(registry.queryValue(HKLM, "Software\\Wow6432Node\\Classes\\.txt", "")->text(), "txtfile");
    EXPECT_NE(readText(prefix.path() / "system.reg").find(WineSystemReg.substr(WineSystemReg.find("[Software\\\\Wow6432Node\\\\Classes]"))),
              std::string::npos);
}

TEST(WineRegistryPrefix, LeavesWinesLinksAndReadsBackWhatItWrote) {
    TempDir prefix;
    writeText(prefix.path() / "system.reg", WineSystemReg);
    WinePrefixRegistry registry(prefix.path());
    ASSERT_EQ(registry.createKey(HKLM, Family + "\\1"), regerror::Success);
    EXPECT_EQ(registry.deleteKey(HKLM, "Software\\Wow6432Node\\Classes"), regerror::AccessDenied);  // a link
    EXPECT_TRUE(registry.keyExists(HKLM, "Software\\Wow6432Node\\Classes\\.txt"));
    EXPECT_TRUE(registry.canOpenForWriting(HKLM, Family));
    EXPECT_FALSE(registry.canOpenForWriting(HKLM, Family + "\\2"));

    ASSERT_EQ(registry.deleteKey(HKLM, Family + "\\1"), regerror::Success);
    ASSERT_EQ(registry.deleteKey(HKLM, Family), regerror::Success);
    EXPECT_TRUE(registry.lastError().empty());

    // What was written is what a fresh reader finds.
    WinePrefixRegistry reread(prefix.path());
    EXPECT_FALSE(reread.keyExists(HKLM, Family));
    EXPECT_TRUE(reread.keyExists(HKLM, "Software\\Wow6432Node\\Garmin\\MapSource\\Families"));
}

TEST(WineRegistryPrefix, RefusesAFileThatIsNotWines) {
    TempDir prefix;
    const std::string exported = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n\"A\"=\"b\"\r\n";
    writeText(prefix.path() / "system.reg", exported);
    WinePrefixRegistry registry(prefix.path());
    EXPECT_FALSE(registry.keyExists(HKLM, ""));
    const auto problem = registry.readProblem();
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find((prefix.path() / "system.reg").string()), std::string::npos) << *problem;
    EXPECT_NE(problem->find("not a Wine registry file"), std::string::npos) << *problem;
    EXPECT_EQ(registry.writeBlocker(), problem);

    const Status begun = registry.beginEdit();
    ASSERT_FALSE(begun);
    EXPECT_EQ(begun.failure().detail, *problem);
    EXPECT_FALSE(registry.inEdit());
    // Nothing at all is written, the other file neither.
    EXPECT_EQ(registry.createKey(HKLM, "Software\\X\\Y"), regerror::AccessDenied);
    EXPECT_EQ(registry.lastError(), *problem);
    EXPECT_EQ(registry.createKey(HKCU, "Software\\VELDRA"), regerror::AccessDenied);
    EXPECT_EQ(readText(prefix.path() / "system.reg"), exported);
    EXPECT_FALSE(fs::exists(prefix.path() / "system.reg.veldra-bak"));
    EXPECT_FALSE(fs::exists(prefix.path() / "user.reg"));
}

TEST(WineRegistryPrefix, OneVeldraAtATimeEditsAPrefix) {
    TempDir prefix;
    writeText(prefix.path() / "system.reg", WineSystemReg);
    WinePrefixRegistry first(prefix.path());
    WinePrefixRegistry second(prefix.path());
    ASSERT_TRUE(first.beginEdit());
    ASSERT_EQ(first.createKey(HKLM, Family), regerror::Success);

    const Status refused = second.beginEdit();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().detail, "Another VELDRA is changing the prefix " + prefix.path().string() +
                                            " right now. Wait until it has finished, then try again.");
    EXPECT_EQ(second.createKey(HKCU, "Software\\VELDRA"), regerror::AccessDenied);
    EXPECT_EQ(second.lastError(), refused.failure().detail);
    EXPECT_FALSE(second.keyExists(HKLM, Family));  // the edit is not stored yet

    ASSERT_TRUE(first.commitEdit());
    EXPECT_TRUE(second.keyExists(HKLM, Family));
    ASSERT_TRUE(second.beginEdit());
    second.rollbackEdit();
    EXPECT_TRUE(first.beginEdit());
}

TEST(WineRegistryPrefix, ACommitDoesNotOverwriteWhatAnotherProgramChanged) {
    TempDir prefix;
    writeText(prefix.path() / "system.reg", WineSystemReg);
    WinePrefixRegistry registry(prefix.path());
    ASSERT_TRUE(registry.beginEdit());
    ASSERT_EQ(registry.createKey(HKLM, Family), regerror::Success);
    const std::string changedByOthers = WineSystemReg + "\n[Software\\\\Others] 1796488600\n";
    writeText(prefix.path() / "system.reg", changedByOthers);

    const Status committed = registry.commitEdit();
    ASSERT_FALSE(committed);
    EXPECT_NE(committed.failure().detail.find("was changed by another program"), std::string::npos)
        << committed.failure().detail;
    EXPECT_EQ(readText(prefix.path() / "system.reg"), changedByOthers);
    EXPECT_FALSE(registry.keyExists(HKLM, Family));
    EXPECT_TRUE(registry.keyExists(HKLM, "Software\\Others"));
}

// A file as Wine writes it, with a key line and a value line cut short by
// hand, and a key line deeper than any registry holds.
std::string damagedSystemReg(const std::string& deepKeyLine) {
    return R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\Machine

#arch=win64

[Software\\Classes\\.txt] 1796488537
#time=1dd84d6a8508e2a
@="txtfile"
"Content Type"="text/pl

[Software\\Foo
"Kept"="with the cut key"

[Software\\Garmin] 1796488537
#time=1dd84d6a8508e2a
"A"=dword:00000001

)" + deepKeyLine + "\n\"Deep\"=\"x\"\n";
}

TEST(WineRegistryPrefix, LinesItCannotReadSurviveAnEditByteForByte) {
    TempDir prefix;
    std::string deepKeyLine = "[x";
    for (int level = 1; level < 40000; ++level) deepKeyLine += "\\\\x";
    deepKeyLine += "] 1796488537";
    const std::string damaged = damagedSystemReg(deepKeyLine);
    writeText(prefix.path() / "system.reg", damaged);
    {
        WinePrefixRegistry registry(prefix.path());
        EXPECT_EQ(registry.readProblem(), std::nullopt);
        ASSERT_TRUE(registry.beginEdit());
        ASSERT_EQ(registry.setValue(HKLM, "Software\\Garmin", "B", RegistryValue::fromDword(2)), regerror::Success);
        ASSERT_TRUE(registry.commitEdit());
    }
    std::string expected = damaged;
    expected.insert(expected.find("\n\n[x\\\\x") + 1, "\"B\"=dword:00000002\n");
    std::string written = readText(prefix.path() / "system.reg");
    // The edited key carries the time of the change.
    const std::size_t garmin = written.find("[Software\\\\Garmin] ");
    ASSERT_NE(garmin, std::string::npos) << written;
    written.replace(garmin, written.find("\n\"A\"", garmin) - garmin, "[Software\\\\Garmin] 1796488537\n#time=1dd84d6a8508e2a");
    EXPECT_EQ(written, expected);

    // Deleting a key would take lines with it that nobody can read back.
    WinePrefixRegistry registry(prefix.path());
    EXPECT_EQ(registry.deleteKey(HKLM, "Software\\Classes\\.txt"), regerror::AccessDenied);
    EXPECT_NE(registry.lastError().find("line 9 of " + (prefix.path() / "system.reg").string()), std::string::npos)
        << registry.lastError();
    // A value cut after a continuation at the end of the file cannot be kept safely.
    writeText(prefix.path() / "system.reg", WineSystemReg + "\n[Software\\\\Cut] 1\n\"V\"=hex:01,\\");
    EXPECT_EQ(registry.createKey(HKLM, "Software\\Other"), regerror::AccessDenied);
    EXPECT_NE(registry.lastError().find("Line 19 of the registry file"), std::string::npos) << registry.lastError();
}

TEST(WineRegistryPrefix, KeepsOneBackupAndSeesChangesMadeByOthers) {
    TempDir prefix;
    fs::create_directories(prefix.path() / "real");
    writeText(prefix.path() / "real" / "system.reg", WineSystemReg);
    fs::create_symlink("real/system.reg", prefix.path() / "system.reg");
    {
        WinePrefixRegistry registry(prefix.path());
        ASSERT_EQ(registry.createKey(HKLM, Family), regerror::Success);
        EXPECT_EQ(readText(prefix.path() / "system.reg.veldra-bak"), WineSystemReg);
        ASSERT_EQ(registry.setValue(HKLM, Family, "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
        EXPECT_EQ(readText(prefix.path() / "system.reg.veldra-bak"), WineSystemReg);  // one backup per run
        EXPECT_TRUE(fs::is_symlink(prefix.path() / "system.reg"));

        // wineserver (or anyone) rewrites the file: the next access reads it again.
        const std::string saved = readText(prefix.path() / "system.reg");
        writeText(prefix.path() / "real" / "system.reg", saved + "\n[Software\\\\Added] 1796488600\n\"V\"=\"w\"\n");
        EXPECT_EQ(registry.queryValue(HKLM, "Software\\Added", "V")->text(), "w");
        ASSERT_EQ(registry.deleteValue(HKLM, Family, "ID"), regerror::Success);
        const std::string merged = readText(prefix.path() / "system.reg");
        EXPECT_NE(merged.find("[Software\\\\Added]"), std::string::npos);
        EXPECT_EQ(merged.find("\"ID\""), std::string::npos);
    }
    const std::string beforeSecondRun = readText(prefix.path() / "system.reg");
    WinePrefixRegistry secondRun(prefix.path());
    ASSERT_EQ(secondRun.deleteKey(HKLM, "Software\\Added"), regerror::Success);
    EXPECT_EQ(readText(prefix.path() / "system.reg.veldra-bak"), beforeSecondRun);
}

TEST(WineRegistryPrefix, RefusesWritesToAFileItMayNotWrite) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write every file";
    TempDir prefix;
    writeText(prefix.path() / "system.reg", WineSystemReg);
    fs::permissions(prefix.path() / "system.reg", fs::perms::owner_read);
    fs::permissions(prefix.path(), fs::perms::owner_read | fs::perms::owner_exec);
    WinePrefixRegistry registry(prefix.path());
    EXPECT_TRUE(registry.keyExists(HKLM, "Software\\Classes"));
    EXPECT_FALSE(registry.canOpenForWriting(HKLM, "Software\\Classes"));
    EXPECT_EQ(registry.createKey(HKLM, Family), regerror::AccessDenied);
    EXPECT_FALSE(registry.lastError().empty());
    EXPECT_FALSE(registry.keyExists(HKLM, Family));  // the refused change is not kept in memory either
    fs::permissions(prefix.path(), fs::perms::owner_all);
    EXPECT_EQ(readText(prefix.path() / "system.reg"), WineSystemReg);
}

}  // namespace
}  // namespace veldra::platform
