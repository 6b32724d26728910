#pragma once
// The installed-mapset catalog: the registry records and the gmap packages,
// each in the order the catalog lists them.

#include <vector>

#include "app/Session.h"
#include "gmap/GmapRecord.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

struct InstalledCatalog {
    std::vector<RegistryRecord> registry;
    gmap::GmapPackages packages;

    // readRegistryRecords, then scanGmapPackages.
    void rebuild(app::Session& session);
};

}  // namespace veldra::registration
