#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "app/Settings.h"
#include "app/WindowsVersion.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
    app::Settings settings{routines};
};

TEST_F(SettingsTest, ValuesLiveUnderTheProgramKeyAsStrings) {
    settings.setWow64(true);
    settings.setLanguage("Eng");
    settings.setLastDir("C:\\maps");
    auto wow = registry.queryValue(platform::RegistryRoot::CurrentUser, "Software\\VELDRA", "Wow64");
    ASSERT_TRUE(wow);
    EXPECT_EQ(wow->type, platform::RegistryType::String);
    EXPECT_EQ(wow->text(), "wahr");
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(settings.lastDir(), "C:\\maps");
}

TEST_F(SettingsTest, Wow64ChoosesTheHostRegistryRoot) {
    EXPECT_FALSE(settings.os64());
    settings.setWow64(false);
    ASSERT_TRUE(settings.os64());
    EXPECT_FALSE(*settings.os64());
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE");
    settings.setWow64(true);
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE\\Wow6432Node");
    routines.fStringSpeichern(platform::RegistryRoot::CurrentUser, app::SettingsKey, "Wow64", "yes");
    EXPECT_FALSE(settings.os64());
}

TEST_F(SettingsTest, DirIsStoredWithTheReadBackCheck) {
    catalog.fill("Deu");
    registry.denyWriteAccess(platform::RegistryRoot::CurrentUser, "Software");
    settings.storeDirVerified("/home/user/tiles");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgRegistryWriteFailed));
}

TEST(WindowsVersion, NamesFollowTheVersionTable) {
    using app::windowsVersionName;
    EXPECT_EQ(windowsVersionName({0, 3, 10}), "Win32s für Windows 3.x");
    EXPECT_EQ(windowsVersionName({1, 4, 10}), "Windows 98");
    EXPECT_EQ(windowsVersionName({1, 4, 3}), "");
    EXPECT_EQ(windowsVersionName({2, 3, 51}), "Windows NT 3.51");
    EXPECT_EQ(windowsVersionName({2, 5, 1}), "Windows XP");
    EXPECT_EQ(windowsVersionName({2, 5, 2}), "");
    EXPECT_EQ(windowsVersionName({2, 6, 1}), "Windows 7");
    EXPECT_EQ(windowsVersionName({2, 6, 2}), "");
    EXPECT_EQ(windowsVersionName({2, 10, 0}), "Windows NT / Folgeversion");
}

TEST(WindowsVersion, OnlyTheNamedVersionsCheckForAdministratorRights) {
    EXPECT_TRUE(app::versionNeedsAdminCheck("Windows XP"));
    EXPECT_TRUE(app::versionNeedsAdminCheck("Windows 7"));
    EXPECT_FALSE(app::versionNeedsAdminCheck(""));
    EXPECT_FALSE(app::versionNeedsAdminCheck("Windows NT / Folgeversion"));
}

}  // namespace
}  // namespace veldra
