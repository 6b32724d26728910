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
    EXPECT_TRUE(settings.setWow64(true).ok());
    EXPECT_TRUE(settings.setLanguage("Eng").ok());
    EXPECT_TRUE(settings.setLastDir("C:\\maps").ok());
    auto wow = registry.queryValue(platform::RegistryRoot::CurrentUser, "Software\\VELDRA", "Wow64");
    ASSERT_TRUE(wow);
    EXPECT_EQ(wow->type, platform::RegistryType::String);
    EXPECT_EQ(wow->text(), "wahr");
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(settings.lastDir(), "C:\\maps");
}

TEST_F(SettingsTest, Wow64ChoosesTheHostRegistryRoot) {
    EXPECT_FALSE(settings.os64());
    EXPECT_TRUE(settings.setWow64(false).ok());
    ASSERT_TRUE(settings.os64());
    EXPECT_FALSE(*settings.os64());
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE");
    EXPECT_TRUE(settings.setWow64(true).ok());
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE\\Wow6432Node");
    EXPECT_TRUE(routines.storeString(platform::RegistryRoot::CurrentUser, app::SettingsKey, "Wow64", "yes").ok());
    EXPECT_FALSE(settings.os64());
}

TEST_F(SettingsTest, DirIsStoredWithTheReadBackCheck) {
    catalog.fill("Deu");
    registry.denyWriteAccess(platform::RegistryRoot::CurrentUser, "Software");
    EXPECT_FALSE(settings.storeDirVerified("/home/user/tiles").ok());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgRegistryWriteFailed));
}

// Versions between the table's rows get no name, and so no administrator check;
// NT 3 spells out its minor number, and everything after Windows 7 shares one name.
TEST(WindowsVersion, GapsInTheTableGiveNoNameAndNoAdministratorCheck) {
    using app::windowsVersionName;
    EXPECT_EQ(windowsVersionName({2, 3, 51}), "Windows NT 3.51");
    EXPECT_EQ(windowsVersionName({1, 4, 3}), "");
    EXPECT_EQ(windowsVersionName({2, 6, 2}), "");
    EXPECT_EQ(windowsVersionName({2, 10, 0}), "Windows NT / Folgeversion");
    EXPECT_TRUE(app::versionNeedsAdminCheck(windowsVersionName({2, 6, 1})));
    EXPECT_TRUE(app::versionNeedsAdminCheck(windowsVersionName({2, 5, 1})));
    EXPECT_FALSE(app::versionNeedsAdminCheck(windowsVersionName({2, 6, 2})));
    EXPECT_FALSE(app::versionNeedsAdminCheck(windowsVersionName({2, 10, 0})));
}

}  // namespace
}  // namespace veldra
