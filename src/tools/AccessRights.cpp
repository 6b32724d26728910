#include "tools/AccessRights.h"

#include <vector>

#include "app/Session.h"
#include "platform/Processes.h"

namespace veldra::tools {
namespace {

void showAll(app::Session& session, const std::vector<std::string>& messages) {
    for (const auto& text : messages) session.dialogs.inform(text);
}

}  // namespace

void SetOwner(app::Session& session, const std::filesystem::path& path, const std::string& account) {
    showAll(session, session.host.security.SetOwner(path, account));
}

void SetFolderRights(app::Session& session, const std::filesystem::path& path, const std::string& account) {
    showAll(session, session.host.security.SetFolderRights(path, account));
}

void takeOverMapFolders(app::Session& session) {
    for (int csidl : {platform::csidl::CommonAppData, platform::csidl::AppData}) {
        const auto folder = session.host.shell.specialFolder(csidl) / "GARMIN" / "Maps";
        // A folder that is not there has no owner to take over: no note about it.
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) continue;
        SetOwner(session, folder, session.userName);
        SetFolderRights(session, folder, session.userName);
    }
}

void SetRegistryRights(app::Session& session, platform::Processes& processes, const std::string& key,
                       const std::string& account) {
    const auto setAcl = session.host.programFolder / "BIN" / "SetACL.exe";
    if (!std::filesystem::exists(setAcl)) {
        // Shown in German whatever the interface language.
        session.dialogs.inform(
            "Die Datei SetACL.exe  im Ordner BIN der Installation fehlt. Installieren Sie VELDRA neu, um den Fehler "
            "zu beheben. Ohne diese Datei können die Rechte nicht automatisch gesetzt werden. Sie können alternativ "
            "die Zugriffsrechte auf Registry und Dateiverzeichniss von Hand einrichten.");
        return;
    }
    const std::string program = "\"" + setAcl.string() + "\"";
    processes.startDetached(program + " -on " + key + " -ot reg -actn setowner -ownr \"n:" + account + "\"");
    processes.startDetached(program + " -on " + key + " -ot reg -actn ace -ace \"n:" + account + ";p:full\"");
}

std::string garminRegistryKeyForSetAcl(const app::Session& session) {
    return "HKLM\\" + session.hostRegistryRoot + "\\Garmin";
}

}  // namespace veldra::tools
