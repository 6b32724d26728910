#pragma once
// The scan for installed gmap packages.

#include "app/Session.h"
#include "gmap/GmapRecord.h"

namespace veldra::gmap {

// Scans the common and the user's GARMIN\Maps folders and, when either
// exists, BaseCamp's own Maps folder: in each, every file as a shortcut to a
// ".gmap" folder, then every subfolder as a package. The records come back
// ordered by display line.
GmapPackages scanGmapPackages(app::Session& session);

}  // namespace veldra::gmap
