#pragma once
// Registry keys of mapsets that the host programs do not find where they lie:
// under the root the stored 64-bit setting does not choose, or a family whose
// values stand in the family key instead of its subkey "1".

#include <string>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "tools/CheckFinding.h"

namespace veldra::tools {

// Every mapset key of the three branches under the other root. Repairable
// when no key of that name exists under the host registry root.
std::vector<CheckFinding> findWrongBranchKeys(const app::Session& session);

// Families in the misplaced layout the catalog reading repairs on request.
std::vector<CheckFinding> findMisplacedLayouts(const app::Session& session);

// Moves the key of a wrong-branch finding with its values and subkeys to the
// same place under the host registry root. Meant to run inside a registry edit.
Status moveToHostRoot(app::Session& session, const CheckFinding& finding);

}  // namespace veldra::tools
