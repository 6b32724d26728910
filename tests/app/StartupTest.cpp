// The 64-bit question at start-up: answered by a host that knows its Windows,
// asked otherwise.

#include "app/Startup.h"

#include <gtest/gtest.h>

#include "support/FakeHost.h"

namespace veldra {
namespace {

class StartupTest : public ::testing::Test {
protected:
    void forgetWow64() {
        ASSERT_TRUE(host.session.routines.storeString(platform::RegistryRoot::CurrentUser, app::SettingsKey, "Wow64", "")
                        .ok());
    }
    testing::FakeHost host;
};

TEST_F(StartupTest, AHostThatKnowsItsWindowsIsNotAsked) {
    forgetWow64();
    host.shell.os64 = false;
    ASSERT_TRUE(app::startWithHostRoot(host.session, "Eng"));
    EXPECT_TRUE(host.dialogs.messages.empty());
    EXPECT_EQ(host.session.settings.wow64(), app::Wow64No);
    EXPECT_EQ(host.session.hostRegistryRoot, "SOFTWARE");
}

TEST_F(StartupTest, AStoredAnswerThatDiffersFromTheHostIsReportedAndKept) {
    host.shell.os64 = false;
    ASSERT_TRUE(app::startWithHostRoot(host.session, "Eng"));
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].text, host.session.msg(Msg::MsgOs64SettingDiffers));
    EXPECT_EQ(host.session.hostRegistryRoot, "SOFTWARE\\Wow6432Node");
}

TEST_F(StartupTest, OtherwiseTheUserIsAsked) {
    forgetWow64();
    host.dialogs.answer({app::MessageAnswer::Yes});
    ASSERT_TRUE(app::startWithHostRoot(host.session, "Eng"));
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].text, host.session.msg(Msg::MsgAskOs64));
    EXPECT_EQ(host.session.settings.wow64(), app::Wow64Yes);
}

}  // namespace
}  // namespace veldra
