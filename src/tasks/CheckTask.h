#pragma once
// `check`: what is broken about the installed mapsets, and with `fix` the
// repair of what has one safe repair.

#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "tools/CheckFinding.h"

namespace veldra::tasks {

struct CheckRequest {
    bool fix = false;
};

struct CheckResult {
    std::vector<tools::CheckFinding> repaired;  // empty without `fix`
    std::vector<tools::CheckFinding> findings;  // what is wrong now, after the repairs
};

// Fails when the registry cannot be read, or when the repairs cannot be made
// (they are then all left undone).
Result<CheckResult> checkInstalledMapsets(app::Session& session, const CheckRequest& request);

}  // namespace veldra::tasks
