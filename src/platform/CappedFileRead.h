#pragma once
// Reading a whole file into memory, never more than a cap: a file read whole
// is a file of a kind whose real members are small, so a huge one is refused
// before anything is allocated.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/Result.h"
#include "platform/FileStart.h"

namespace veldra::platform {

inline constexpr std::uintmax_t KiB = 1024;
inline constexpr std::uintmax_t MiB = 1024 * KiB;

// The bytes of `file` when it holds at most `maxBytes`; else a failure whose
// text names the file and both sizes.
Result<std::vector<std::uint8_t>> readFileCapped(const std::filesystem::path& file, std::uintmax_t maxBytes);
// The same for what readSmallFile(file, maxBytes) read, for a reader that
// first tells a missing file apart.
Result<std::vector<std::uint8_t>> cappedFileBytes(const std::filesystem::path& file, FileStart read,
                                                  std::uintmax_t maxBytes);

}  // namespace veldra::platform
