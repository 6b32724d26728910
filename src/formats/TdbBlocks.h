#pragma once
// A TDB file is a run of blocks: u8 type, u16 data length, data. The next
// block starts 3 + length bytes after the type byte. Each reader walks the run
// in its own way (header, checksum, tile list, package writer, renaming).

#include <cstddef>
#include <cstdint>

namespace veldra::formats {

inline constexpr std::uint8_t TdbHeaderBlock = 0x50;    // 'P', always first, at offset 0
inline constexpr std::uint8_t TdbNameBlock = 0x52;      // 'R', carries the map name
inline constexpr std::uint8_t TdbOverviewBlock = 0x42;  // 'B', the overview map, carries the map name
inline constexpr std::uint8_t TdbTileBlock = 0x4C;      // 'L', one per map tile
inline constexpr std::uint8_t TdbTrailerBlock = 0x54;   // 'T', holds the checksum

// Type byte plus the two length bytes.
inline constexpr std::size_t TdbBlockPrefix = 3;

}  // namespace veldra::formats
