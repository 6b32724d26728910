#pragma once
// The overview source (.mp) gmt.exe writes beside a TDB: one definition area
// (type 0x4a) per tile over the tile's area, labelled with its description and
// map number, and the mapset's identity in the [IMG ID] section.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/TdbWriter.h"
#include "gmt/TileSummary.h"

namespace veldra::outside {

// Code page text with CR LF line ends.
std::string overviewSource(const formats::TdbMapset& mapset, const std::vector<TileSummary>& tiles);

// The resolution of the overview's most detailed level: that of the tiles'
// least detailed level, so that the overview gives way to the tiles.
std::uint8_t overviewTopBits(const std::vector<TileSummary>& tiles);

}  // namespace veldra::outside
