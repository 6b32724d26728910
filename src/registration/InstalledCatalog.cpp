#include "registration/InstalledCatalog.h"

#include "gmap/GmapPackageScan.h"
#include "registration/RegistryRecordReading.h"

namespace veldra::registration {

void InstalledCatalog::rebuild(app::Session& session) {
    registry = readRegistryRecords(session);
    packages = gmap::scanGmapPackages(session);
}

}  // namespace veldra::registration
