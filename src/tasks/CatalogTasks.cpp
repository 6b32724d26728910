#include "tasks/CatalogTasks.h"

#include "registration/FreeFid.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {

Result<registration::InstalledCatalog> listMapsets(app::Session& session) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    return catalog;
}

Result<std::uint16_t> findFreeFid(app::Session& session) {
    auto catalog = listMapsets(session);
    if (!catalog) return catalog.failure();
    const auto fid = registration::lowestFreeFid(session, *catalog);
    if (!fid) return fail(Msg::MsgEveryFidInUse);
    return *fid;
}

}  // namespace veldra::tasks
