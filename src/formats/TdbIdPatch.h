#pragma once
// Writing the product and family identifiers into a TDB header in place. The
// file keeps its length; callers run updateTdbChecksum afterwards.

#include <cstdint>
#include <filesystem>

#include "platform/AtomicFile.h"

namespace veldra::formats {

// Low byte at offset 5, high byte at 6.
platform::FileResult writeTdbFid(const std::filesystem::path& tdb, std::uint16_t fid);
// Low byte at offset 3, high byte at 4.
platform::FileResult writeTdbPid(const std::filesystem::path& tdb, std::uint16_t pid);

}  // namespace veldra::formats
