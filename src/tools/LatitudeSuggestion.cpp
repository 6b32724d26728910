#include "tools/LatitudeSuggestion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "formats/TdbTileList.h"
#include "tools/ProjectionLatitude.h"

namespace veldra::tools {
namespace {

// Offsets of the tile's north and south edge inside its block; 2^32 units are 360 degrees.
constexpr std::size_t TileNorthOffset = 11;
constexpr std::size_t TileSouthOffset = 19;

std::optional<double> degreesAt(formats::ByteView tdb, std::size_t offset) {
    const auto units = formats::u32At(tdb, offset);
    if (!units) return std::nullopt;
    return static_cast<double>(static_cast<std::int32_t>(*units)) * 360.0 / 4294967296.0;
}

}  // namespace

std::optional<int> suggestedLatitude(formats::ByteView tdb) {
    std::optional<double> north, south;
    for (const auto& tile : formats::listTdbTiles(tdb)) {
        const auto tileNorth = degreesAt(tdb, tile.blockOffset + TileNorthOffset);
        const auto tileSouth = degreesAt(tdb, tile.blockOffset + TileSouthOffset);
        if (!tileNorth || !tileSouth) continue;
        // Either edge may be the larger one in a damaged block: both bound the area.
        const double high = std::max(*tileNorth, *tileSouth), low = std::min(*tileNorth, *tileSouth);
        north = north ? std::max(*north, high) : high;
        south = south ? std::min(*south, low) : low;
    }
    if (!north) return std::nullopt;
    const auto middle = static_cast<int>(std::lround(std::fabs((*north + *south) / 2)));
    return std::clamp(middle, MinimumLatitude, MaximumLatitude);
}

}  // namespace veldra::tools
