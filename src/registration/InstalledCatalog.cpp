#include "registration/InstalledCatalog.h"

#include "gmap/GmapPackageScan.h"
#include "registration/RegistryRecordReading.h"

namespace veldra::registration {

void InstalledCatalog::rebuild(app::Session& session) {
    // One look at whether the registry files changed, not one per value read.
    const platform::HeldRegistryReads held(session.host.registry);
    registry = readRegistryRecords(session);
    packages = gmap::scanGmapPackages(session);
}

}  // namespace veldra::registration
