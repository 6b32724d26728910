#pragma once
// The folders in which the host programs look for gmap packages.

#include <filesystem>
#include <optional>

#include "app/Session.h"

namespace veldra::gmap {

// <special folder>\GARMIN\Maps for CSIDL_COMMON_APPDATA or CSIDL_APPDATA, as a
// native path; the folder names are matched as the host matches them. Nothing
// when the special folder is unknown.
std::optional<std::filesystem::path> garminMapsFolder(const app::Session& session, int csidl);

// The value "InstallDir" of the host registry root's "Garmin\BaseCamp" key
// followed directly by "Maps", as a native path. Nothing when it names no
// absolute path.
std::optional<std::filesystem::path> baseCampMapsFolder(const app::Session& session);

}  // namespace veldra::gmap
