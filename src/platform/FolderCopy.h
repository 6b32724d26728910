#pragma once
// Copying a folder with everything in it into another folder, as the shell's
// folder copy does: the copy keeps the folder's name, and files of the same
// name already there are replaced.

#include <filesystem>

#include "platform/AtomicFile.h"

namespace veldra::platform {

// Copies `source` to `destination` / its last name, creating `destination`
// when missing. Fails when the copy would land in the source itself.
FileResult copyFolderInto(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace veldra::platform
