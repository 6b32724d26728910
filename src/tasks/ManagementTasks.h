#pragma once
// The tasks that change one installed mapset: remove it, rename it, attach,
// replace or detach its type file.

#include <filesystem>
#include <optional>
#include <string>

#include "app/Session.h"
#include "core/Result.h"
#include "registration/InstalledCatalog.h"
#include "tasks/MapsetChoice.h"

namespace veldra::tasks {

// Entering the removal mode: the user gets the rights to change the host
// registry's Garmin key, then the catalog, with FIDs used twice reported.
Result<registration::InstalledCatalog> listMapsetsForRemoval(app::Session& session);

// Asks first; a registry mapset loses its keys (one registry edit), its TDB
// and overview map, a gmap package its folder. The tiles stay.
Status removeMapset(app::Session& session, const MapsetChoice& choice);

struct RenameRequest {
    MapsetChoice mapset;
    std::string newName;
};
Status renameMapset(app::Session& session, const RenameRequest& request);

struct TypeFileRequest {
    MapsetChoice mapset;
    std::optional<std::filesystem::path> typeFile;  // nothing: detach the current one
};
Status changeTypeFile(app::Session& session, const TypeFileRequest& request);

}  // namespace veldra::tasks
