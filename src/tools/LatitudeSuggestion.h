#pragma once
// A projection latitude that suits a mapset: the middle of the area its tiles
// cover, as the TDB's tile blocks give it.

#include <optional>

#include "formats/LittleEndian.h"

namespace veldra::tools {

// The latitude halfway between the northernmost and the southernmost edge of
// the TDB's tiles, in whole degrees north or south (the distortion is the same
// on both sides of the equator), held to 5..85. Nothing when the TDB lists no tiles.
std::optional<int> suggestedLatitude(formats::ByteView tdb);

}  // namespace veldra::tools
