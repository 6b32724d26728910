#pragma once
// The check for family IDs used twice.

#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "registration/InstalledCatalog.h"

namespace veldra::registration {

// Shows "FID <fid> ist doppelt." for each pair of catalog entries with the
// same FID (compared as numbers; entries whose FID is no number are left out)
// and the same PID (compared as text): registry records among themselves,
// registry records with packages, packages among themselves; each pair once.
// Returns the FIDs shown, in order.
std::vector<std::string> reportDuplicateFids(app::Dialogs& dialogs, const InstalledCatalog& catalog);

}  // namespace veldra::registration
