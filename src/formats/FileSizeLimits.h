#pragma once
// The largest files of each kind that are read whole, far above any real one:
// a larger file is refused unread.

#include <cstdint>

#include "platform/CappedFileRead.h"

namespace veldra::formats {

inline constexpr std::uintmax_t TdbFileLimit = 64 * platform::MiB;
inline constexpr std::uintmax_t TypFileLimit = 32 * platform::MiB;
inline constexpr std::uintmax_t MdxFileLimit = 64 * platform::MiB;

}  // namespace veldra::formats
