#include "registration/InstalledCatalog.h"

#include "gmap/GMPFileslisten.h"
#include "registration/TDBlesen.h"

namespace veldra::registration {

void InstalledCatalog::rebuild(app::Session& session) {
    registry = TDBlesen(session);
    packages = gmap::GMPFileslisten(session);
}

}  // namespace veldra::registration
