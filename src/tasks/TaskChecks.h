#pragma once
// What every task checks before it reads the catalog.

#include "app/Session.h"
#include "core/Result.h"

namespace veldra::tasks {

// Fails when the host registry cannot be read at all, so that no task works
// on a registry it only half understands.
Status registryReadable(const app::Session& session);

}  // namespace veldra::tasks
