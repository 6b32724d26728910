// The Windows backends against the system they run on (Wine's advapi32,
// kernel32 and shell32 under CI): what they write is read back by Windows'
// own reg.exe, started through the process backend.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <fstream>

#include "app/FailureText.h"
#include "platform/Registry.h"
#include "platform/Win32Processes.h"
#include "platform/Win32Registry.h"
#include "platform/Win32Security.h"
#include "platform/Win32Shell.h"
#include "platform/WindowsHostPaths.h"
#include "support/TempFolder.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
constexpr auto HKCU = RegistryRoot::CurrentUser;

// Everything the process printed on its standard output, read as the console runner reads it.
std::string outputOf(Processes& processes, const std::string& commandLine) {
    StartError error = StartError::None;
    auto process = processes.startWithOutputPipe(commandLine, error);
    if (!process) return "<not started>";
    std::string output;
    for (;;) {
        if (const std::size_t waiting = process->bytesWaiting(); waiting > 0) {
            output += process->read(waiting).value_or("<read failed>");
        } else if (process->hasEnded()) {
            if (process->bytesWaiting() == 0) return output;
        } else {
            process->waitForOutput(20);
        }
    }
}

// Gives the current user only `rights` on the key, as a policy may leave a
// branch of the registry to someone who may read values but not list subkeys.
void allowOnly(const std::wstring& path, DWORD rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = rights | READ_CONTROL | WRITE_DAC;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.ptstrName = const_cast<LPWSTR>(L"CURRENT_USER");
    PACL acl = nullptr;
    if (SetEntriesInAclW(1, &access, nullptr, &acl) == ERROR_SUCCESS) {
        SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, acl, nullptr);
        LocalFree(acl);
    }
    RegCloseKey(key);
}

class Win32RegistryTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* RestrictedKey = L"Software\\VELDRA-test\\Refused";
    void TearDown() override {
        allowOnly(RestrictedKey, KEY_ALL_ACCESS);  // else the key would outlive the test
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VELDRA-test");
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VELDRA-test");
    }
    std::string regQuery(const std::string& arguments) {
        return outputOf(processes, "reg query \"HKCU\\Software\\VELDRA-test\\" + arguments + "\"");
    }

    testing::TempDir temp;
    Win32Registry registry{temp / "registry.lock"};
    Win32Processes processes;
};

TEST_F(Win32RegistryTest, WritesReachTheSystemRegistryAndAnEditIsTakenBackWhole) {
    const std::string key = "Software\\VELDRA-test\\Families\\Topo Ärger";
    ASSERT_EQ(registry.createKey(HKCU, key), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, key, "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, key, "TYP", RegistryValue::fromString("C:\\Maps\\Ärger.typ")), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, key, "Count", RegistryValue::fromDword(1234)), regerror::Success);

    // Windows' own tool sees each type as written.
    const std::string listed = regQuery("Families\" /s /v ID") + regQuery("Families\" /s /v Count");
    EXPECT_NE(listed.find("REG_BINARY    D204"), std::string::npos) << listed;
    EXPECT_NE(listed.find("REG_DWORD    0x4d2"), std::string::npos) << listed;
    // Names and texts keep every character both ways.
    EXPECT_EQ(registry.subkeyNames(HKCU, "software\\veldra-test\\families"), std::vector<std::string>{"Topo Ärger"});
    EXPECT_EQ(registry.queryValue(HKCU, "SOFTWARE\\VELDRA-TEST\\Families\\topo ärger", "typ")->text(),
              "C:\\Maps\\Ärger.typ");
    EXPECT_EQ(registry.queryValue(HKCU, key, "ID"), RegistryValue::fromBytes({0xd2, 0x04}));
    EXPECT_EQ(registry.valueNames(HKCU, key).size(), 3u);
    EXPECT_TRUE(registry.canOpenForWriting(HKCU, key));

    // What Windows refuses, with the port's numbers.
    EXPECT_EQ(registry.deleteKey(HKCU, "Software\\VELDRA-test\\Families"), regerror::KeyHasChildren);
    EXPECT_EQ(registry.deleteKey(HKCU, "Software\\VELDRA-test\\Missing"), regerror::FileNotFound);
    EXPECT_EQ(registry.setValue(HKCU, "Software\\VELDRA-test\\Missing", "v", RegistryValue::fromDword(1)),
              regerror::FileNotFound);
    EXPECT_EQ(registry.deleteValue(HKCU, key, "Missing"), regerror::FileNotFound);
    EXPECT_EQ(registry.deleteKey(HKCU, ""), regerror::AccessDenied);

    // One edit at a time, also against a second VELDRA on the same lock, which
    // is told so in the user's language.
    ASSERT_TRUE(registry.beginEdit());
    EXPECT_EQ(registry.beginEdit().failure(), fail(Msg::MsgRegistryEditAlreadyOpen));
    Win32Registry other(temp / "registry.lock");
    const Status refused = other.beginEdit();
    ASSERT_FALSE(refused);
    app::MessageCatalog german;
    german.fill("Deu");
    EXPECT_EQ(app::describeFailure(refused.failure(), german),
              "Ein anderes VELDRA ändert gerade die Registry. Warten Sie, bis es fertig ist, und versuchen Sie es "
              "dann erneut.");
    EXPECT_EQ(other.setValue(HKCU, key, "ID", RegistryValue::fromDword(9)), regerror::AccessDenied);
    ASSERT_EQ(registry.setValue(HKCU, key, "ID", RegistryValue::fromDword(7)), regerror::Success);
    ASSERT_EQ(registry.deleteValue(HKCU, key, "TYP"), regerror::Success);
    ASSERT_EQ(registry.deleteValue(HKCU, key, "Count"), regerror::Success);
    ASSERT_EQ(registry.deleteValue(HKCU, key, "ID"), regerror::Success);
    ASSERT_EQ(registry.deleteKey(HKCU, key), regerror::Success);
    ASSERT_EQ(registry.createKey(HKCU, "Software\\VELDRA-test\\Products\\1234\\1"), regerror::Success);
    EXPECT_FALSE(registry.keyExists(HKCU, key));  // the edit sees its own changes
    registry.rollbackEdit();

    EXPECT_FALSE(registry.inEdit());
    EXPECT_FALSE(registry.keyExists(HKCU, "Software\\VELDRA-test\\Products"));
    EXPECT_EQ(registry.queryValue(HKCU, key, "ID"), RegistryValue::fromBytes({0xd2, 0x04}));
    EXPECT_EQ(registry.queryValue(HKCU, key, "TYP"), RegistryValue::fromString("C:\\Maps\\Ärger.typ"));
    EXPECT_EQ(registry.queryValue(HKCU, key, "Count"), RegistryValue::fromDword(1234));
    EXPECT_NE(regQuery("Families\" /s /v ID").find("REG_BINARY    D204"), std::string::npos);

    // A committed edit stays, and the lock is free again.
    ASSERT_TRUE(registry.beginEdit());
    ASSERT_EQ(registry.deleteValue(HKCU, key, "TYP"), regerror::Success);
    ASSERT_TRUE(registry.commitEdit());
    EXPECT_EQ(registry.commitEdit().failure(), fail(Msg::MsgRegistryEditNotOpen));
    EXPECT_TRUE(other.beginEdit());
    other.rollbackEdit();
    EXPECT_EQ(registry.queryValue(HKCU, key, "TYP"), std::nullopt);
    EXPECT_EQ(regQuery("Families\" /s /v TYP").find("REG_SZ"), std::string::npos);
}

// Windows checks the rights when the key is opened: a refused listing fails
// there, and must not pass for a key without subkeys.
TEST_F(Win32RegistryTest, AListingTheSystemRefusesIsReportedAsAccessDenied) {
    const std::string key = "Software\\VELDRA-test\\Refused";
    ASSERT_EQ(registry.createKey(HKCU, key + "\\Topo"), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, key, "ID", RegistryValue::fromDword(7)), regerror::Success);
    allowOnly(RestrictedKey, KEY_QUERY_VALUE);

    const auto listed = registry.enumerateSubkeys(HKCU, key);
    EXPECT_EQ(listed.names, std::vector<std::string>{});
    EXPECT_EQ(listed.error, regerror::AccessDenied);
    EXPECT_EQ(registry.queryValue(HKCU, key, "ID"), RegistryValue::fromDword(7));
    EXPECT_TRUE(registry.keyExists(HKCU, key));
    EXPECT_FALSE(registry.canOpenForWriting(HKCU, key));
    EXPECT_EQ(registry.setValue(HKCU, key, "ID", RegistryValue::fromDword(8)), regerror::AccessDenied);
    // A key that is not there has no subkeys to refuse.
    EXPECT_EQ(registry.enumerateSubkeys(HKCU, key + "\\Missing").error, regerror::Success);

    allowOnly(RestrictedKey, KEY_ALL_ACCESS);
    EXPECT_EQ(registry.enumerateSubkeys(HKCU, key).names, std::vector<std::string>{"Topo"});
}

TEST(Win32ProcessesTest, StandardOutputComesThroughThePipeAndStandardErrorDoesNot) {
    Win32Processes processes;
    EXPECT_EQ(outputOf(processes, "cmd /c echo first& echo hidden 1>&2& echo second"), "first\r\nsecond\r\n");

    StartError error = StartError::None;
    EXPECT_EQ(processes.startWithOutputPipe("no-such-program-veldra", error), nullptr);
    EXPECT_EQ(error, StartError::StartFailed);
    EXPECT_FALSE(processes.runAndWait("no-such-program-veldra"));

    // runAndWait returns once the program has ended: what it wrote is there.
    testing::TempDir temp;
    const fs::path marker = temp / "ended.txt";
    ASSERT_TRUE(processes.runAndWait("cmd /c echo done> \"" + marker.string() + "\""));
    EXPECT_TRUE(fs::exists(marker));
}

TEST(Win32ShellTest, FoldersUserAndShortPathsComeFromTheSystem) {
    Win32Shell shell;
    const fs::path appData = shell.specialFolder(csidl::AppData);
    const fs::path localAppData = shell.specialFolder(csidl::LocalAppData);
    const fs::path common = shell.specialFolder(csidl::CommonAppData);
    for (const auto& folder : {appData, localAppData, common}) {
        EXPECT_TRUE(folder.is_absolute()) << folder;
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    }
    EXPECT_NE(appData, localAppData);
    EXPECT_EQ(shell.specialFolder(0x7FFF), fs::path());

    const std::string user = shell.myGetUserName();
    ASSERT_FALSE(user.empty());
    // The user's folders carry the user's name.
    EXPECT_NE(appData.string().find(user), std::string::npos) << appData;
    EXPECT_EQ(shell.knownOs64(), std::optional<bool>(true));

    testing::TempDir temp;
    const fs::path longName = temp / "A folder with a long name";
    fs::create_directory(longName);
    const fs::path shortName = shell.shortPath(longName);
    EXPECT_NE(shortName, longName);
    EXPECT_EQ(shortName.filename().string().find(' '), std::string::npos) << shortName;
    EXPECT_TRUE(fs::equivalent(shortName, longName));
    EXPECT_EQ(shell.shortPath(temp / "missing"), temp / "missing");
}

TEST(WindowsHostPathsTest, HostAndNativePathsAreTheSamePath) {
    WindowsHostPaths paths;
    EXPECT_EQ(paths.toHost("C:/ProgramData/GARMIN/../Maps"), "C:\\ProgramData\\Maps");
    EXPECT_EQ(paths.toNative("c:/Garmin/Maps"), fs::path("c:\\Garmin\\Maps"));
    EXPECT_EQ(paths.toNative("D:"), fs::path("D:\\"));
    EXPECT_EQ(paths.toNative("C:relative"), fs::path());
    EXPECT_EQ(paths.toNative("Maps\\x"), fs::path());
    testing::TempDir temp;
    EXPECT_EQ(paths.toNative(paths.toHost(temp.path())), temp.path());
}

TEST(Win32SecurityTest, RightsOfAnOwnFolderAndTheMessagesForAMissingOne) {
    Win32Security security;
    Win32Shell shell;
    testing::TempDir temp;
    EXPECT_EQ(security.SetFolderRights(temp.path(), shell.myGetUserName()), std::vector<std::string>{});
    EXPECT_EQ(security.SetFolderRights(temp / "missing", shell.myGetUserName()),
              std::vector<std::string>{"GetNamedSecurityInfo failed with error code : 2"});
    const auto owner = security.SetOwner(temp / "missing", shell.myGetUserName());
    ASSERT_FALSE(owner.empty());
    EXPECT_EQ(owner.back(), "SetFileSecurity failed with error code 2");
    EXPECT_EQ(security.SetOwner(temp.path(), "no-such-account-veldra").back(),
              "LookupAccountName failed with error code 1332");
}

}  // namespace
}  // namespace veldra::platform
