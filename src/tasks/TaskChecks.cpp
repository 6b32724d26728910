#include "tasks/TaskChecks.h"

#include "registration/ChangeJournal.h"

namespace veldra::tasks {

Status registryReadable(const app::Session& session) {
    if (auto problem = session.host.registry.readProblem()) return *problem;
    return registration::finishInterruptedChange(session);
}

app::NamesInUse namesInUse(const registration::InstalledCatalog& catalog) {
    app::NamesInUse inUse;
    for (const auto& r : catalog.registry) {
        // A list shows a name up to its first zero byte.
        inUse.mapsetNames.push_back(r.shownName());
        inUse.registryFids.push_back(r.fid);
        // A record whose TDB is gone still holds its FID in the registry.
        if (r.registeredFid) inUse.registryFids.push_back(std::to_string(*r.registeredFid));
    }
    for (const auto& p : catalog.packages.records) inUse.gmapFids.push_back(p.fid);
    return inUse;
}

}  // namespace veldra::tasks
