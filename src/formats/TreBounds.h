#pragma once
// What a tile's TRE header says about the tile: the area it covers, its map
// ID and the resolutions of its zoom levels.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

// Map units: 2^24 units are 360 degrees.
struct MapBounds {
    std::int32_t north = 0;
    std::int32_t east = 0;
    std::int32_t south = 0;
    std::int32_t west = 0;
    friend bool operator==(const MapBounds&, const MapBounds&) = default;
};

double mapUnitsToDegrees(std::int32_t units);

// The smallest box holding both.
MapBounds unite(const MapBounds& a, const MapBounds& b);

struct TreFacts {
    MapBounds bounds;
    std::optional<std::uint32_t> mapId;  // only in headers longer than 116 bytes
    std::vector<std::uint8_t> levelBits; // resolution of each zoom level, most detailed last
};

struct TreRead {
    std::optional<TreFacts> facts;
    std::string error;
};

// `tre` is the whole TRE subfile (the level table lies behind the header).
TreRead parseTre(ByteView tre);

}  // namespace veldra::formats
