#include "gmap/GmapFolders.h"

namespace veldra::gmap {

std::optional<std::filesystem::path> garminMapsFolder(const app::Session& session, int csidl) {
    const std::filesystem::path base = session.host.shell.specialFolder(csidl);
    if (base.empty()) return std::nullopt;
    // Through the host path, so that an existing "Garmin" folder is found
    // whatever the case of its name.
    const std::string host = session.host.paths.toHost(base);
    if (host.empty()) return base / "GARMIN" / "Maps";
    const std::filesystem::path native = session.host.paths.toNative(host + "\\GARMIN\\Maps");
    if (native.empty()) return base / "GARMIN" / "Maps";
    return native;
}

std::optional<std::filesystem::path> baseCampMapsFolder(const app::Session& session) {
    const std::string installDir = session.routines.queryText(
        platform::RegistryRoot::LocalMachine, session.hostRegistryRoot + "\\Garmin\\BaseCamp", "InstallDir");
    const std::filesystem::path native = session.host.paths.toNative(installDir + "Maps");
    if (native.empty()) return std::nullopt;
    return native;
}

}  // namespace veldra::gmap
