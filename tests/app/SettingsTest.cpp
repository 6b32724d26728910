#include "app/Settings.h"

#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "app/WindowsVersion.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

constexpr auto HKCU = platform::RegistryRoot::CurrentUser;

class SettingsTest : public ::testing::Test {
protected:
    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
    app::Settings settings{routines};
};

TEST_F(SettingsTest, ValuesLiveUnderTheProgramKeyAsStringsAndWow64ChoosesTheHostRoot) {
    EXPECT_FALSE(settings.os64());
    EXPECT_TRUE(settings.setWow64(false).ok());
    ASSERT_TRUE(settings.os64());
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE");
    EXPECT_TRUE(settings.setWow64(true).ok());
    EXPECT_EQ(app::hostRegistryRoot(*settings.os64()), "SOFTWARE\\Wow6432Node");
    EXPECT_TRUE(settings.setLanguage("Eng").ok());
    EXPECT_TRUE(settings.setLastDir("C:\\maps").ok());
    auto wow = registry.queryValue(HKCU, "Software\\VELDRA", "Wow64");
    ASSERT_TRUE(wow);
    EXPECT_EQ(wow->type, platform::RegistryType::String);
    EXPECT_EQ(wow->text(), "wahr");
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(settings.lastDir(), "C:\\maps");

    EXPECT_TRUE(routines.storeString(HKCU, app::SettingsKey, "Wow64", "yes").ok());
    EXPECT_FALSE(settings.os64());
}

TEST_F(SettingsTest, DirIsStoredWithTheReadBackCheck) {
    catalog.fill("Deu");
    registry.denyWriteAccess(HKCU, "Software");
    EXPECT_FALSE(settings.storeDirVerified("/home/user/tiles").ok());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{catalog.text(app::Msg::MsgRegistryWriteFailed)});
}

// Versions between the rows of the table get no name, and so no administrator check.
TEST(WindowsVersion, GapsInTheTableGiveNoAdministratorCheck) {
    EXPECT_TRUE(app::versionNeedsAdminCheck(app::windowsVersionName({2, 6, 1})));
    EXPECT_FALSE(app::versionNeedsAdminCheck(app::windowsVersionName({2, 6, 2})));
    EXPECT_FALSE(app::versionNeedsAdminCheck(app::windowsVersionName({2, 10, 0})));
}

}  // namespace
}  // namespace veldra
