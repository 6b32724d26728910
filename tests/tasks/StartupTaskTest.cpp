// The administrator question at start-up: only on the named Windows versions,
// only without rights, and Yes ends the program.

#include "tasks/StartupTask.h"

#include <gtest/gtest.h>

#include "support/FakeHost.h"

namespace veldra {
namespace {

TEST(StartupTaskTest, AdministratorQuestionOnlyWhereRegistryInstallationsNeedRights) {
    struct Case {
        const char* version;
        bool admin;
        std::optional<app::MessageAnswer> answer;  // nothing: no question may come
        bool ends;
    };
    const Case cases[] = {
        {"Windows 7", false, app::MessageAnswer::Yes, true},
        {"Windows XP", false, app::MessageAnswer::No, false},
        {"Windows 7", true, std::nullopt, false},
        {"", false, std::nullopt, false},  // a 6.2 kernel has no name
        {"Windows 8", false, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + (c.admin ? " admin" : ""));
        testing::FakeHost host;
        host.shell.versionName = c.version;
        host.shell.admin = c.admin;
        if (c.answer) host.dialogs.answer({*c.answer});
        EXPECT_EQ(tasks::userEndsForMissingAdminRights(host.session), c.ends);
        ASSERT_EQ(host.dialogs.messages.size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(host.dialogs.messages[0].text, host.session.msg(Msg::MsgNoAdminRights));
            EXPECT_EQ(host.dialogs.messages[0].title, "VELDRA");
            EXPECT_EQ(host.dialogs.messages[0].buttons, app::MessageButtons::YesNo);
        }
    }
}

}  // namespace
}  // namespace veldra
