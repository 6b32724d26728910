#pragma once
// Copying a folder with everything in it into another folder, as the shell's
// folder copy does: the copy keeps the folder's name, and files of the same
// name already there are replaced.

#include <filesystem>

#include "core/Progress.h"
#include "platform/AtomicFile.h"

namespace veldra::platform {

// Copies `source` to `destination` / its last name, creating `destination`
// when missing. Fails when the copy would land in the source itself.
// `progress` counts the files copied.
FileResult copyFolderInto(const std::filesystem::path& source, const std::filesystem::path& destination,
                          const Progress& progress = {});

}  // namespace veldra::platform
