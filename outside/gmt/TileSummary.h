#pragma once
// One tile as the TDB and the overview source describe it, taken from its
// subfiles: their names and exact sizes, and the area and zoom levels of its TRE.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/TdbWriter.h"

namespace veldra::outside {

struct TileSummary {
    std::string description;  // code page bytes, without the map number
    formats::TdbTileEntry entry;
    std::vector<std::uint8_t> levelBits;
};

// The map number of an 8-digit name ("12345678"), else nothing.
std::optional<std::uint32_t> tileNumberOf(std::string_view name);

// The subfiles of tile `number` in an image: those whose name is its 8 digits.
std::vector<const formats::ImgSubfile*> tileSubfiles(const formats::ImgLayout& layout, std::uint32_t number);

// Reads the tile's TRE from `image`; throws GmtError when it has none or it is unreadable.
TileSummary summarizeTile(formats::ImgFile& image, std::uint32_t number, std::string description,
                          const std::vector<const formats::ImgSubfile*>& subfiles);

// A map number for the overview map that no tile uses: the one below the
// lowest tile, else the one above the highest.
std::uint32_t chooseOverviewNumber(const std::vector<TileSummary>& tiles);

}  // namespace veldra::outside
