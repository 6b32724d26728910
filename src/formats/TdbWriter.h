#pragma once
// Writing a TDB file of version 407: header, copyright, name, overview map,
// one block per tile with its subfiles' exact sizes, and the checksum trailer.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/TreBounds.h"

namespace veldra::formats {

struct TdbSubfileEntry {
    std::string name;  // "<number>.<TYPE>"
    std::uint32_t size = 0;
};

struct TdbTileEntry {
    std::uint32_t number = 0;
    MapBounds bounds;
    std::string description;  // code page bytes, as the tile list shows it
    std::vector<TdbSubfileEntry> subfiles;
};

struct TdbMapset {
    std::uint16_t pid = 1;
    std::uint16_t fid = 0;
    std::string seriesName;  // code page bytes; also the name of the R and B blocks
    std::string familyName;
    std::uint32_t codePage = 1252;
    std::vector<std::string> copyrights;
    std::uint32_t overviewNumber = 0;
    std::vector<TdbTileEntry> tiles;  // the overview covers all of them
};

struct TdbBuild {
    std::vector<std::uint8_t> bytes;  // empty on failure
    std::string error;
};

// Fails when a block would outgrow its 16-bit length or a text holds a zero byte.
TdbBuild buildTdb(const TdbMapset& mapset);

}  // namespace veldra::formats
