#pragma once
// The whole check: every registry record and gmap package, the registry
// layout around them and the shortcuts beside them. Changes nothing.

#include <vector>

#include "app/Session.h"
#include "tools/CheckFinding.h"

namespace veldra::tools {

// Findings in this order: keys in the wrong branch, misplaced layouts,
// registry mapsets, gmap packages (unreadable Info.xml files first), FIDs
// used twice, dead shortcuts.
std::vector<CheckFinding> inspectInstalledMapsets(const app::Session& session);

}  // namespace veldra::tools
