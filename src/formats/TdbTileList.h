#pragma once
// The tile list of a mapset as the tile list window takes it from the TDB:
// the run of consecutive tile blocks that follows the header and the blocks
// after it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/LittleEndian.h"
#include "formats/TreBounds.h"

namespace veldra::formats {

// Offsets inside a tile block, from its type byte.
inline constexpr std::size_t TdbTileNumberOffset = 3;
// North, east, south and west edge, each a signed u32 of 2^32 units to 360 degrees.
inline constexpr std::size_t TdbTileBoundsOffset = 11;
inline constexpr std::size_t TdbTileDescriptionOffset = 27;
// A tile block is only read while it starts more than this many bytes before the end.
inline constexpr std::size_t TdbTileMinimumSpan = 28;

struct TdbTile {
    std::uint32_t number = 0;
    // Code page 1252 bytes from the description offset up to a zero byte; the
    // first byte is always taken, and the text may run on past the block.
    std::string description;
    std::size_t blockOffset = 0;  // start of the tile block, for progress shown against the file length
    // The area the tile covers; nothing when the block is too short to hold it.
    std::optional<MapBounds> bounds;
};

std::vector<TdbTile> listTdbTiles(ByteView tdb);

// "00000000" + the decimal number, last eight characters kept.
std::string tileFileName(std::uint32_t number);

// List lines of a registered mapset ("IMG") and of a gmap package ("GMP").
std::string imgTileLine(const TdbTile& tile);
std::string gmpTileLine(const TdbTile& tile);

}  // namespace veldra::formats
