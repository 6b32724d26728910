#pragma once
// Shortcuts in the folders the host programs search for gmap packages whose
// targets are gone.

#include <vector>

#include "app/Session.h"
#include "tools/CheckFinding.h"

namespace veldra::tools {

// Every ".lnk" file of the common and the user's GARMIN\Maps folders and of
// BaseCamp's Maps folder whose target does not exist; each can be removed.
std::vector<CheckFinding> findDeadLinks(const app::Session& session);

}  // namespace veldra::tools
