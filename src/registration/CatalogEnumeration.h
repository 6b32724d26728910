#pragma once
// The walk over the host registry's three branches that finds the mapsets,
// repairing on request a family whose values lie in the family key itself.

#include <vector>

#include "app/Session.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// Records in enumeration order (Products, Families, FamiliesNT) with their
// registry values; name, FID and PID are left to the TDB reading.
std::vector<RegistryRecord> enumerateRegistryRecords(app::Session& session);

}  // namespace veldra::registration
