// Special folders of a Wine prefix, read from its registry as Wine's shell does.
#include <gtest/gtest.h>

#include "platform/MemoryRegistry.h"
#include "platform/Shell.h"
#include "platform/WineShellFolders.h"

namespace veldra::platform {
namespace {

constexpr RegistryRoot HKCU = RegistryRoot::CurrentUser;
constexpr RegistryRoot HKLM = RegistryRoot::LocalMachine;
constexpr std::string_view ProfileList = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr std::string_view WineUserProfile =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-1000";

class ShellFoldersTest : public ::testing::Test {
protected:
    void set(RegistryRoot root, std::string_view key, std::string_view name, std::string_view text,
             RegistryType type = RegistryType::String) {
        ASSERT_EQ(registry.createKey(root, key), regerror::Success);
        ASSERT_EQ(registry.setValue(root, key, name, RegistryValue::fromString(text, type)), regerror::Success);
    }
    std::string folder(int number) const { return shellFolderHostPath(registry, number, "joe"); }

    MemoryRegistry registry;
};

TEST_F(ShellFoldersTest, UserShellFoldersWinOverShellFoldersAndAreExpanded) {
    set(HKCU, ShellFoldersKey, "AppData", "C:\\users\\joe\\Application Data");
    EXPECT_EQ(folder(csidl::AppData), "C:\\users\\joe\\Application Data");  // an older prefix's folder

    set(HKCU, UserShellFoldersKey, "AppData", "%USERPROFILE%\\Roaming", RegistryType::ExpandString);
    set(HKLM, WineUserProfile, "ProfileImagePath", "D:\\profiles\\joe");
    EXPECT_EQ(folder(csidl::AppData), "D:\\profiles\\joe\\Roaming");

    // Machine-wide values live in HKLM; the user's hive does not count for them.
    set(HKCU, ShellFoldersKey, "Common AppData", "C:\\wrong");
    set(HKLM, UserShellFoldersKey, "Common AppData", "%ProgramData%", RegistryType::ExpandString);
    set(HKLM, ProfileList, "ProgramData", "E:\\Shared");
    EXPECT_EQ(folder(csidl::CommonAppData), "E:\\Shared");
}

TEST_F(ShellFoldersTest, VariablesComeFromTheProfileListAndTheEnvironmentKeys) {
    set(HKCU, UserShellFoldersKey, "Local AppData", "%USERPROFILE%\\%Where%\\%unknown%%SystemDrive%",
        RegistryType::ExpandString);
    set(HKCU, "Environment", "WHERE", "Lokal");
    // Without the user's own profile entry the profiles folder plus the user's name.
    set(HKLM, ProfileList, "ProfilesDirectory", "%SystemDrive%\\Users", RegistryType::ExpandString);
    EXPECT_EQ(folder(csidl::LocalAppData), "C:\\Users\\joe\\Lokal\\%unknown%C:");

    set(HKCU, UserShellFoldersKey, "AppData", "%FROMSYSTEM%\\x%", RegistryType::ExpandString);
    set(HKLM, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "FromSystem", "%LOOP%");
    set(HKLM, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "Loop", "%LOOP%");
    // A variable naming itself ends after a few rounds instead of looping.
    EXPECT_EQ(folder(csidl::AppData), "%LOOP%\\x%");
}

TEST_F(ShellFoldersTest, ValuesOfOtherTypesOrEmptyOnesAreIgnored) {
    ASSERT_EQ(registry.createKey(HKCU, UserShellFoldersKey), regerror::Success);
    ASSERT_EQ(registry.setValue(HKCU, UserShellFoldersKey, "AppData", RegistryValue::fromDword(7)), regerror::Success);
    set(HKCU, ShellFoldersKey, "AppData", "");
    set(HKCU, ShellFoldersKey, "Local AppData", "C:\\Local");
    EXPECT_EQ(folder(csidl::AppData), "C:\\users\\joe\\AppData\\Roaming");
    EXPECT_EQ(folder(csidl::LocalAppData), "C:\\Local");
}

// With nothing stored the folders are a fresh prefix's; stored, they read back alike.
TEST_F(ShellFoldersTest, TheDefaultsApplyUntilStoredAndReadBackAlike) {
    const auto defaults = {std::tuple{HKCU, "AppData", csidl::AppData},
                           std::tuple{HKCU, "Local AppData", csidl::LocalAppData},
                           std::tuple{HKLM, "Common AppData", csidl::CommonAppData}};
    for (const auto& [root, name, number] : defaults) EXPECT_EQ(folder(number), defaultShellFolderHostPath(number, "joe"));
    EXPECT_EQ(folder(0x05), "");  // a folder the program never asks for

    ASSERT_EQ(writeDefaultShellFolderValues(registry, "joe"), regerror::Success);
    for (const auto& [root, name, number] : defaults) {
        const auto value = registry.queryValue(root, ShellFoldersKey, name);
        ASSERT_TRUE(value) << name;
        EXPECT_EQ(value->type, RegistryType::String);
        EXPECT_EQ(value->text(), defaultShellFolderHostPath(number, "joe"));
        EXPECT_EQ(folder(number), value->text());
    }
    MemoryRegistry other;
    other.denyWriteAccess(HKLM, "Software");
    EXPECT_NE(writeDefaultShellFolderValues(other, "joe"), regerror::Success);
}

}  // namespace
}  // namespace veldra::platform
