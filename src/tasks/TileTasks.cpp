#include "tasks/TileTasks.h"

#include <utility>

#include "tasks/TaskChecks.h"

namespace veldra::tasks {

Result<registration::TileListing> listTiles(app::Session& session, const MapsetChoice& choice) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, choice);
    if (!entry) return entry.failure();
    if (entry->package) return registration::listPackageTiles(session, catalog.packages.records[entry->index]);
    return registration::listRegistryTiles(session, catalog.registry[entry->index]);
}

Result<std::size_t> changeDrawPriority(app::Session& session, const DrawPriorityRequest& request,
                                       const Progress& progress, std::stop_token stop) {
    const auto typed = registration::readTypedDrawPriority(request.value);
    if (typed.empty) {
        session.dialogs.inform(registration::NoDrawPriorityTyped);
        return alreadyShown();
    }
    if (typed.value == 0) return declined();
    const auto listing = listTiles(session, request.mapset);
    if (!listing) return listing.failure();
    return registration::writeDrawPriority(session, *listing, typed.value, progress, std::move(stop));
}

}  // namespace veldra::tasks
