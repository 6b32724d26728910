#pragma once
// Moving an installed mapset to another computer: the export gathers what it
// needs in one folder, the import copies such a folder to a chosen place and
// installs it there (registry keys, or a gmap package found through a shortcut).

#include <filesystem>
#include <optional>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "existing/ExistingRegistration.h"
#include "tasks/MapsetChoice.h"

namespace veldra::tasks {

struct ExportRequest {
    MapsetChoice mapset;
    // Where the export folder is made, as a copy of the mapset's own folder;
    // nothing: the mapset's own folder (its tiles folder, or its package) is
    // the export folder.
    std::optional<std::filesystem::path> into;
};

// The export folder, after the user was told to copy it. `progress` counts the
// files of the folder's copy, or without one the files gathered into the folder.
Result<std::filesystem::path> exportMapset(app::Session& session, const ExportRequest& request,
                                           const Progress& progress = {});

struct ImportRequest {
    std::optional<std::filesystem::path> source;       // nothing: chosen in a folder dialog
    std::optional<std::filesystem::path> destination;  // nothing: chosen in a folder dialog
    std::optional<bool> allUsers;                       // nothing: the user is asked
};

struct ImportResult {
    std::filesystem::path folder;                          // the imported copy
    std::optional<existing::RegisteredMapset> registered;  // a registry mapset's keys
    std::optional<std::filesystem::path> shortcut;         // a package's link in the gmap package folder
    bool installMapSource = false;                         // the answer to the MapSource offer
};

// `progress` counts the files of the folder's copy.
Result<ImportResult> importMapset(app::Session& session, const ImportRequest& request, const Progress& progress = {});

}  // namespace veldra::tasks
