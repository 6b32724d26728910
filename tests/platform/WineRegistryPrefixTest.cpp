// The registry of a Wine prefix as VELDRA edits it in the prefix's files,
// without Wine: new prefixes, refused files, backups, what others change.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "platform/WinePrefixRegistry.h"
#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::readText;
using testing::TempDir;
using testing::writeText;

constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::string Family = "Software\\Wow6432Node\\Garmin\\MapSource\\Families\\Topo1234";

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

class WineRegistryPrefix : public ::testing::Test {
protected:
    fs::path file(const char* name) const { return prefix / name; }
    TempDir prefix;
};

TEST_F(WineRegistryPrefix, NewPrefixGetsFilesWithWinesHeader) {
    WinePrefixRegistry registry(prefix.path());
    EXPECT_TRUE(registry.keyExists(HKLM, ""));
    EXPECT_EQ(registry.writeBlocker(), std::nullopt);
    ASSERT_EQ(registry.createKey(HKLM, "Software\\Garmin"), regerror::Success);
    EXPECT_EQ(readText(file("system.reg"))
                  .rfind("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n"
                         "[Software\\\\Garmin] ",
                         0),
              0u);
    EXPECT_FALSE(fs::exists(file("user.reg")));
    EXPECT_FALSE(fs::exists(file("system.reg.veldra-bak")));  // nothing to keep

    ASSERT_EQ(registry.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    EXPECT_EQ(readText(file("user.reg"))
                  .rfind("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                         "#arch=win64\n\n[Software\\\\VELDRA] ",
                         0),
              0u);

    // A user.reg made beside an existing system.reg follows its architecture.
    TempDir prefix32;
    writeText(prefix32 / "system.reg", "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win32\n");
    ASSERT_EQ(WinePrefixRegistry(prefix32.path()).createKey(HKCU, "Software\\VELDRA"), regerror::Success);
    EXPECT_NE(readText(prefix32 / "user.reg").find("\n#arch=win32\n"), std::string::npos);
}

TEST_F(WineRegistryPrefix, WinesLinksAreFollowedButNeverDeleted) {
    writeText(file("system.reg"), WineSystemReg);
    WinePrefixRegistry registry(prefix.path());
    EXPECT_EQ(registry.queryValue(HKLM, "Software\\Wow6432Node\\Classes\\.TXT", "")->text(), "txtfile");
    EXPECT_EQ(registry.deleteKey(HKLM, "Software\\Wow6432Node\\Classes"), regerror::AccessDenied);
    ASSERT_EQ(registry.createKey(HKLM, Family), regerror::Success);
    EXPECT_TRUE(registry.canOpenForWriting(HKLM, Family));
    EXPECT_FALSE(registry.canOpenForWriting(HKLM, Family + "\\2"));
    EXPECT_TRUE(WinePrefixRegistry(prefix.path()).keyExists(HKLM, "software\\wow6432node\\classes\\.txt"));
    EXPECT_NE(readText(file("system.reg")).find(WineSystemReg.substr(WineSystemReg.find("[Software\\\\Wow6432Node"))),
              std::string::npos);
}

TEST_F(WineRegistryPrefix, RefusesAFileThatIsNotWines) {
    const std::string exported = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n\"A\"=\"b\"\r\n";
    writeText(file("system.reg"), exported);
    WinePrefixRegistry registry(prefix.path());
    EXPECT_FALSE(registry.keyExists(HKLM, ""));
    const Failure problem = fail(Msg::MsgRegistryFileNotWine, file("system.reg").string() + ":1");
    EXPECT_EQ(registry.readProblem(), problem);
    EXPECT_EQ(registry.writeBlocker(), problem);

    const Status begun = registry.beginEdit();
    ASSERT_FALSE(begun);
    EXPECT_EQ(begun.failure(), problem);
    // Nothing at all is written, the other file neither.
    EXPECT_EQ(registry.createKey(HKLM, "Software\\X\\Y"), regerror::AccessDenied);
    EXPECT_EQ(registry.createKey(HKCU, "Software\\VELDRA"), regerror::AccessDenied);
    EXPECT_EQ(readText(file("system.reg")), exported);
    EXPECT_FALSE(fs::exists(file("system.reg.veldra-bak")));
    EXPECT_FALSE(fs::exists(file("user.reg")));
}

TEST_F(WineRegistryPrefix, OneVeldraAtATimeEditsAPrefix) {
    writeText(file("system.reg"), WineSystemReg);
    WinePrefixRegistry first(prefix.path());
    WinePrefixRegistry second(prefix.path());
    ASSERT_TRUE(first.beginEdit());
    ASSERT_EQ(first.createKey(HKLM, Family), regerror::Success);

    const Status refused = second.beginEdit();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure(), fail(Msg::MsgPrefixBusy, prefix.path().string()));
    EXPECT_EQ(second.createKey(HKCU, "Software\\VELDRA"), regerror::AccessDenied);
    EXPECT_FALSE(second.keyExists(HKLM, Family));  // the edit is not stored yet

    ASSERT_TRUE(first.commitEdit());
    EXPECT_TRUE(second.keyExists(HKLM, Family));
    ASSERT_TRUE(second.beginEdit());
    second.rollbackEdit();
    EXPECT_TRUE(first.beginEdit());
}

TEST_F(WineRegistryPrefix, ACommitDoesNotOverwriteWhatAnotherProgramChanged) {
    writeText(file("system.reg"), WineSystemReg);
    WinePrefixRegistry registry(prefix.path());
    ASSERT_TRUE(registry.beginEdit());
    ASSERT_EQ(registry.createKey(HKLM, Family), regerror::Success);
    const std::string changedByOthers = WineSystemReg + "\n[Software\\\\Others] 1796488600\n";
    writeText(file("system.reg"), changedByOthers);

    const Status committed = registry.commitEdit();
    ASSERT_FALSE(committed);
    EXPECT_EQ(committed.failure(), fail(Msg::MsgRegistryFileChangedMeanwhile, file("system.reg").string()));
    EXPECT_EQ(readText(file("system.reg")), changedByOthers);
    EXPECT_FALSE(registry.keyExists(HKLM, Family));
    EXPECT_TRUE(registry.keyExists(HKLM, "Software\\Others"));
}

// A file as Wine writes it, with a key line and a value line cut short by
// hand, and a key line of 40,000 components, deeper than any registry holds.
TEST_F(WineRegistryPrefix, LinesItCannotReadSurviveAnEditByteForByte) {
    std::string deepKeyLine = "[x";
    for (int level = 1; level < 40000; ++level) deepKeyLine += "\\\\x";
    const std::string damaged = R"(WINE REGISTRY Version 2
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

)" + deepKeyLine + "] 1796488537\n\"Deep\"=\"x\"\n";
    writeText(file("system.reg"), damaged);
    {
        WinePrefixRegistry registry(prefix.path());
        EXPECT_EQ(registry.readProblem(), std::nullopt);
        ASSERT_TRUE(registry.beginEdit());
        ASSERT_EQ(registry.setValue(HKLM, "Software\\Garmin", "B", RegistryValue::fromDword(2)), regerror::Success);
        ASSERT_TRUE(registry.commitEdit());
    }
    std::string expected = damaged;
    expected.insert(expected.find("\n\n[x\\\\x") + 1, "\"B\"=dword:00000002\n");
    std::string written = readText(file("system.reg"));
    // The edited key carries the time of the change.
    const std::size_t garmin = written.find("[Software\\\\Garmin] ");
    ASSERT_NE(garmin, std::string::npos) << written;
    written.replace(garmin, written.find("\n\"A\"", garmin) - garmin, "[Software\\\\Garmin] 1796488537\n#time=1dd84d6a8508e2a");
    EXPECT_EQ(written, expected);

    // Deleting a key would take lines with it that nobody can read back.
    WinePrefixRegistry registry(prefix.path());
    EXPECT_EQ(registry.deleteKey(HKLM, "Software\\Classes\\.txt"), regerror::AccessDenied);
    // A value cut after a continuation at the end of the file cannot be kept safely.
    writeText(file("system.reg"), WineSystemReg + "\n[Software\\\\Cut] 1\n\"V\"=hex:01,\\");
    ASSERT_TRUE(registry.beginEdit());
    EXPECT_EQ(registry.createKey(HKLM, "Software\\Other"), regerror::Success);
    const Status cut = registry.commitEdit();
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.failure(), fail(Msg::MsgRegistryLineCutOff, file("system.reg").string() + ":19"));
    EXPECT_FALSE(registry.keyExists(HKLM, "Software\\Other"));
    // An architecture line that contradicts an earlier one refuses the whole file.
    std::string twoArchitectures = WineSystemReg;
    twoArchitectures.insert(twoArchitectures.find("\n\n[") + 1, "#arch=win32\n");
    writeText(file("system.reg"), twoArchitectures);
    EXPECT_EQ(registry.readProblem(), fail(Msg::MsgRegistryFileArchitecture, file("system.reg").string() + ":5"));
}

TEST_F(WineRegistryPrefix, KeepsOneBackupAndSeesChangesMadeByOthers) {
    fs::create_directories(prefix / "real");
    writeText(prefix / "real" / "system.reg", WineSystemReg);
    fs::create_symlink("real/system.reg", file("system.reg"));
    {
        WinePrefixRegistry registry(prefix.path());
        ASSERT_EQ(registry.createKey(HKLM, Family), regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, Family, "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
        EXPECT_EQ(readText(file("system.reg.veldra-bak")), WineSystemReg);  // one backup per run
        EXPECT_TRUE(fs::is_symlink(file("system.reg")));

        // wineserver (or anyone) rewrites the file: the next access reads it again.
        const std::string saved = readText(file("system.reg"));
        writeText(prefix / "real" / "system.reg", saved + "\n[Software\\\\Added] 1796488600\n\"V\"=\"w\"\n");
        EXPECT_EQ(registry.queryValue(HKLM, "Software\\Added", "V")->text(), "w");
        ASSERT_EQ(registry.deleteValue(HKLM, Family, "ID"), regerror::Success);
        const std::string merged = readText(file("system.reg"));
        EXPECT_NE(merged.find("[Software\\\\Added]"), std::string::npos);
        EXPECT_EQ(merged.find("\"ID\""), std::string::npos);
    }
    const std::string beforeSecondRun = readText(file("system.reg"));
    ASSERT_EQ(WinePrefixRegistry(prefix.path()).deleteKey(HKLM, "Software\\Added"), regerror::Success);
    EXPECT_EQ(readText(file("system.reg.veldra-bak")), beforeSecondRun);
}

// Writes fail for the files a test names: a failed backup changes nothing, a
// file that fails after another was saved puts that one back, and one that
// cannot be put back is named so the user can take its backup.
TEST_F(WineRegistryPrefix, AFailedSaveLeavesBothFilesAsTheyWereOrNamesTheOneLeftChanged) {
    const std::string userReg =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n";
    writeText(file("system.reg"), WineSystemReg);
    writeText(file("user.reg"), userReg);
    std::function<bool(const fs::path&)> refused;
    WinePrefixRegistry registry(prefix.path(), [&](const fs::path& target, std::string_view bytes) {
        return refused(target) ? FileResult{false, "refused"} : replaceFileAtomically(target, bytes);
    });
    const auto changeBoth = [&] {
        EXPECT_TRUE(registry.beginEdit());
        EXPECT_EQ(registry.createKey(HKLM, Family), regerror::Success);
        EXPECT_EQ(registry.createKey(HKCU, "Software\\VELDRA"), regerror::Success);
        const Status committed = registry.commitEdit();
        EXPECT_EQ(readText(file("user.reg")), userReg);
        return committed.ok() ? std::nullopt : std::optional(committed.failure());
    };

    refused = [&](const fs::path& target) { return target == file("user.reg.veldra-bak"); };
    EXPECT_EQ(changeBoth(), fail(Msg::MsgRegistryBackupFailed, file("user.reg.veldra-bak").string()));
    EXPECT_EQ(readText(file("system.reg")), WineSystemReg);
    refused = [&](const fs::path& target) { return target == file("user.reg"); };
    EXPECT_EQ(changeBoth(), fail(Msg::MsgRegistrySaveFailed, file("user.reg").string()));
    EXPECT_EQ(readText(file("system.reg")), WineSystemReg);
    EXPECT_FALSE(registry.keyExists(HKLM, Family));
    // The second write of system.reg is the one that would put it back.
    int systemWrites = 0;
    refused = [&](const fs::path& target) {
        return target == file("user.reg") || (target == file("system.reg") && ++systemWrites == 2);
    };
    EXPECT_EQ(changeBoth(), fail(Msg::MsgRegistryRestoreFailed, file("system.reg").string()));
    EXPECT_EQ(readText(file("system.reg.veldra-bak")), WineSystemReg);
}

TEST_F(WineRegistryPrefix, HeldReadsSeeOneStateOfTheFileButAnEditStartsFromItsLatest) {
    writeText(file("system.reg"), WineSystemReg);
    WinePrefixRegistry registry(prefix.path());
    ASSERT_TRUE(registry.keyExists(HKLM, "Software\\Classes\\.txt"));  // read before the hold
    const auto rewrite = [&](const char* key) { writeText(file("system.reg"), WineSystemReg + "\n[" + key + "] 1\n"); };
    {
        const HeldRegistryReads held(registry);
        rewrite("Software\\\\Added");  // before the hold's first read: seen
        EXPECT_TRUE(registry.keyExists(HKLM, "Software\\Added"));
        rewrite("Software\\\\AddedLater");
        EXPECT_FALSE(registry.keyExists(HKLM, "Software\\AddedLater"));
        EXPECT_TRUE(registry.canOpenForWriting(HKLM, "Software\\Added"));
        ASSERT_TRUE(registry.beginEdit());
        EXPECT_TRUE(registry.keyExists(HKLM, "Software\\AddedLater"));
        registry.rollbackEdit();
    }
    rewrite("Software\\\\AddedAfterTheHold");
    EXPECT_TRUE(registry.keyExists(HKLM, "Software\\AddedAfterTheHold"));
}

TEST_F(WineRegistryPrefix, RefusesWritesToAFileItMayNotWrite) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write every file";
    writeText(file("system.reg"), WineSystemReg);
    fs::permissions(file("system.reg"), fs::perms::owner_read);
    fs::permissions(prefix.path(), fs::perms::owner_read | fs::perms::owner_exec);
    WinePrefixRegistry registry(prefix.path());
    EXPECT_FALSE(registry.canOpenForWriting(HKLM, "Software\\Classes"));
    EXPECT_EQ(registry.createKey(HKLM, Family), regerror::AccessDenied);
    EXPECT_EQ(registry.beginEdit().failure(), fail(Msg::MsgPrefixNotLockable, file(".veldra-lock").string()));
    EXPECT_FALSE(registry.keyExists(HKLM, Family));  // the refused change is not kept in memory either
    fs::permissions(prefix.path(), fs::perms::owner_all);
    EXPECT_EQ(readText(file("system.reg")), WineSystemReg);
}

}  // namespace
}  // namespace veldra::platform
