#pragma once
// What every task checks before it reads the catalog.

#include "app/MapsetNaming.h"
#include "app/Session.h"
#include "core/Result.h"
#include "registration/InstalledCatalog.h"

namespace veldra::tasks {

// Fails when the host registry cannot be read at all, so that no task works
// on a registry it only half understands. First finishes or undoes a change
// that a killed run left halfway, and says which.
Status registryReadable(const app::Session& session);

// The names and FIDs a new mapset must not take.
app::NamesInUse namesInUse(const registration::InstalledCatalog& catalog);

}  // namespace veldra::tasks
