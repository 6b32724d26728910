#pragma once
// Reading the `log` of an exported registry mapset: each line names one file
// of the export folder, and its ending tells which field of the existing-TDB
// registration it fills.

#include <filesystem>
#include <string_view>

#include "core/Result.h"
#include "existing/ExistingMapset.h"

namespace veldra::existing {

// The log is a handful of short lines; a larger file is no export log.
inline constexpr std::uintmax_t ExportLogFileLimit = 64 * 1024;

// The fields the lines of `log` (code page 1252, CR LF; empty lines skipped)
// fill with paths inside `folder`, which becomes the tiles folder. Name, FID
// and PID stay empty for the TDB to give. Fails for a line that leads out of
// the folder.
Result<ExistingMapset> mapsetFromExportLog(std::string_view log, const std::filesystem::path& folder);

}  // namespace veldra::existing
