#pragma once
// The repairs of what the check found, all of them or none.

#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "tools/CheckFinding.h"

namespace veldra::tools {

// Repairs every repairable finding in one go. The keys first: a key in the
// wrong branch moves to the host registry root, a misplaced layout into its
// subkey "1"; then, on the catalog as it reads after that, the files: a wrong
// checksum is rewritten after the TDB is copied to "<file>-BAK", a type file
// gets the mapset's FID stamped, a dead shortcut is deleted. The registry
// changes form one edit; when anything fails, every file touched is put back
// and the registry stays as it was. Returns the findings repaired.
Result<std::vector<CheckFinding>> repairFindings(app::Session& session, const std::vector<CheckFinding>& findings);

}  // namespace veldra::tools
