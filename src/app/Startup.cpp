#include "app/Startup.h"

#include "app/Session.h"

namespace veldra::app {

bool startWithHostRoot(Session& session, const std::string& languageOverride) {
    // The question comes in the user's language.
    session.start(languageOverride);
    // A host that tells its Windows answers the question itself.
    if (const auto known = session.host.shell.knownOs64()) {
        const auto stored = session.settings.os64();
        if (!stored) {
            if (!session.settings.setWow64(*known)) return false;
        } else if (*stored != *known) {
            session.dialogs.inform(session.msg(Msg::MsgOs64SettingDiffers));
        }
    }
    while (session.settings.wow64().empty()) {
        const bool is64 = session.dialogs.ask(session.msg(Msg::MsgAskOs64));
        // A registry that keeps nothing would ask forever.
        if (!session.settings.setWow64(is64) || session.settings.wow64().empty()) return false;
    }
    return session.start(languageOverride);
}

}  // namespace veldra::app
