#pragma once
// The checks of the file fields of an existing mapset, with the message of
// the field that fails.

#include <filesystem>
#include <optional>

#include "core/Result.h"

namespace veldra::existing {

enum class FileField { Tdb, OverviewMap, TypeFile, IndexFile, MdrFile, TrafficFile };

// Nothing given passes. A file name beyond ASCII, the wrong extension (last
// three characters in any case) or a missing file fails with its message.
Status checkFileField(FileField field, const std::optional<std::filesystem::path>& file);

}  // namespace veldra::existing
