#pragma once
// The checksum of a TDB file: the CRC-32 of every byte before the trailer
// block, stored in four fixed data bytes of that block.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

// Offsets of the checksum bytes from the trailer's type byte, most significant first.
inline constexpr std::array<std::size_t, 4> TdbChecksumByteOffsets = {5, 12, 15, 20};

// The checksum walk: from offset 0, step over blocks by their length until a
// trailer block starts, or until a length field no longer lies wholly before
// the last byte. A block of length 0 is stepped over by 3 bytes.
std::optional<std::size_t> findTrailerBlock(ByteView tdb);

struct BytePatch {
    std::size_t offset = 0;
    std::uint8_t value = 0;
    friend bool operator==(const BytePatch&, const BytePatch&) = default;
};

struct ChecksumUpdate {
    std::optional<std::size_t> trailer;  // offset of the trailer's type byte
    std::uint32_t checksum = 0;          // CRC-32 of the bytes before the trailer
    // The bytes that bring the stored checksum up to date. None without a
    // trailer or when the checksum is 0; a byte at or past the end is left out.
    std::vector<BytePatch> patches;
};

ChecksumUpdate checksumUpdate(ByteView tdb);

// Whether the stored checksum bytes are the ones the update would store;
// nothing when the file has no trailer block.
std::optional<bool> checksumMatches(ByteView tdb);

}  // namespace veldra::formats
