#pragma once
#include <filesystem>
#include <vector>

#include "platform/AtomicFile.h"

namespace veldra::platform {

// Forces a written file's bytes to the disk before it is renamed into place.
bool flushFileToDisk(const std::filesystem::path& file);
// Forces a folder's entries (a rename into it) to the disk.
bool flushDirectoryToDisk(const std::filesystem::path& directory);
// Forces the files, then each folder that holds them, to the disk, so that a
// record about to name them cannot outlive them in a power loss.
FileResult flushFilesToDisk(const std::vector<std::filesystem::path>& files);

}  // namespace veldra::platform
