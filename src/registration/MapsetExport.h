#pragma once
// Gathering a registry mapset for another computer: every file its keys name
// is put beside its tiles, and a `log` lists them so that the import knows
// which is which.

#include <filesystem>
#include <string>
#include <vector>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// The file that lists the gathered files, in the export folder.
inline constexpr const char* ExportLogName = "log";

// The host paths of the values TRF, MDR, IDX, TYP (from the record's family or
// product key), TDB and BMAP (from its product key), in this order, each that is set.
std::vector<std::string> exportedFilePaths(const app::Session& session, const RegistryRecord& record);

// One line per path, its name and extension only, in code page 1252 with CR LF.
std::string exportLogText(const std::vector<std::string>& hostPaths);

// Copies each named file into `folder` unless a file of its name is there
// already, then writes `log` there, replacing an older one. `progress` counts
// the named files.
Status gatherExportFiles(const app::Session& session, const RegistryRecord& record,
                         const std::filesystem::path& folder, const Progress& progress = {});

}  // namespace veldra::registration
