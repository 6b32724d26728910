#pragma once
// The registry part of the installed-mapset catalog.

#include <vector>

#include "app/Session.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// Reads every mapset of the host registry, names it from its TDB header (or
// marks it when its TDB or overview map is gone) and orders the records by
// name; equal names keep the enumeration order.
std::vector<RegistryRecord> readRegistryRecords(app::Session& session);

}  // namespace veldra::registration
