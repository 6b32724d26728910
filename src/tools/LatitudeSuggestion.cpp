#include "tools/LatitudeSuggestion.h"

#include <algorithm>
#include <cmath>

#include "formats/TdbTileList.h"
#include "tools/ProjectionLatitude.h"

namespace veldra::tools {

std::optional<int> suggestedLatitude(formats::ByteView tdb) {
    std::optional<double> north, south;
    for (const auto& tile : formats::listTdbTiles(tdb)) {
        if (!tile.bounds) continue;
        const double tileNorth = formats::mapUnitsToDegrees(tile.bounds->north);
        const double tileSouth = formats::mapUnitsToDegrees(tile.bounds->south);
        // Either edge may be the larger one in a damaged block: both bound the area.
        const double high = std::max(tileNorth, tileSouth), low = std::min(tileNorth, tileSouth);
        north = north ? std::max(*north, high) : high;
        south = south ? std::min(*south, low) : low;
    }
    if (!north) return std::nullopt;
    const auto middle = static_cast<int>(std::lround(std::fabs((*north + *south) / 2)));
    return std::clamp(middle, MinimumLatitude, MaximumLatitude);
}

}  // namespace veldra::tools
