#include "tasks/StartupTask.h"

#include "app/WindowsVersion.h"

namespace veldra::tasks {

bool userEndsForMissingAdminRights(app::Session& session) {
    const auto& shell = session.host.shell;
    if (!app::versionNeedsAdminCheck(shell.windowsVersionName()) || shell.IsAdmin()) return false;
    return session.dialogs.ask(session.msg(Msg::MsgNoAdminRights));
}

}  // namespace veldra::tasks
