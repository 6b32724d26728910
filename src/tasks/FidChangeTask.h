#pragma once
// Giving an installed mapset a new family ID (FID).

#include <string>

#include "app/Session.h"
#include "core/Result.h"
#include "tasks/MapsetChoice.h"

namespace veldra::tasks {

struct FidChangeRequest {
    MapsetChoice mapset;
    std::string newFid;  // as typed: a number from 1 to 60000
};

// Refuses a FID that is no number, out of range or in use by any installed
// mapset. Either every file and registry value of the mapset carries the new
// FID afterwards, or, when a step fails, every one of them is put back as it
// was and the user is told so.
Status changeFid(app::Session& session, const FidChangeRequest& request);

}  // namespace veldra::tasks
