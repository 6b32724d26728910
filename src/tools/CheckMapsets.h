#pragma once
// The files of one installed mapset, checked against its registration.

#include <vector>

#include "app/Session.h"
#include "gmap/GmapRecord.h"
#include "registration/RegistryRecord.h"
#include "tools/CheckFinding.h"

namespace veldra::tools {

// TDB, overview map, tile folder, index and type file of a registry record:
// present, the TDB readable with its checksum right and the IDs its keys give,
// the type file stamped with the mapset's FID.
std::vector<CheckFinding> checkRegistryMapset(const app::Session& session, const registration::RegistryRecord& record);

// The same for one sub-product of a gmap package: its TDB, its product folder
// and the package's index file.
std::vector<CheckFinding> checkPackageMapset(const gmap::GmapRecord& record);

// What belongs to the package as a whole, once per Info.xml: every
// <Directory> inside the package, the type file <TYP> names present and
// stamped with the package's FID.
std::vector<CheckFinding> checkPackageDescription(const gmap::GmapRecord& record);

}  // namespace veldra::tools
