#pragma once
#include <filesystem>

namespace veldra::platform {

// Forces a written file's bytes to the disk before it is renamed into place.
bool flushFileToDisk(const std::filesystem::path& file);
// Forces a folder's entries (a rename into it) to the disk.
bool flushDirectoryToDisk(const std::filesystem::path& directory);

}  // namespace veldra::platform
