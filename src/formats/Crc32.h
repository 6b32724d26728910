#pragma once
// The common CRC-32 (reflected polynomial 0xEDB88320), as zlib computes it.

#include <cstdint>

#include "formats/LittleEndian.h"

namespace veldra::formats {

inline constexpr std::uint32_t Crc32InitialRegister = 0xFFFFFFFFu;

// The final checksum of `bytes`: register XOR 0xFFFFFFFF after the last byte,
// so an empty sequence with the usual initial register gives 0.
std::uint32_t crc32(ByteView bytes, std::uint32_t initialRegister = Crc32InitialRegister);

}  // namespace veldra::formats
