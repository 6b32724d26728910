#pragma once
// Moving a file over one of the same name, also across file systems (the
// common application data folder may lie on another disk than the tiles).

#include <filesystem>

#include "platform/AtomicFile.h"

namespace veldra::platform {

FileResult moveFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// A copy that replaces a file of the same name.
FileResult copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace veldra::platform
