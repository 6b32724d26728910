#pragma once
#include <filesystem>

namespace veldra::platform {

// Forces a written file's bytes to the disk before it is renamed into place.
bool flushFileToDisk(const std::filesystem::path& file);

}  // namespace veldra::platform
