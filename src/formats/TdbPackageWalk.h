#pragma once
// The tile numbers the gmap package writer takes from an existing TDB.

#include <cstdint>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

// Skips the first two blocks, then steps over every block while its start lies
// more than 28 bytes before the end, taking the map number of each tile block
// (wherever it stands, not only in one run).
std::vector<std::uint32_t> packageTileNumbers(ByteView tdb);

}  // namespace veldra::formats
