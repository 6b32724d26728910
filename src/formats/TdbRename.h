#pragma once
// Renaming a mapset inside its TDB file: the map name is replaced in the header
// block, the 0x52 block and the overview block, each rebuilt with its new length.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

struct RenamedTdb {
    std::vector<std::uint8_t> image;
    // The version is 301 or more, or the walk met a trailer block.
    bool checksumNeeded = false;
};

// The map series name of the header block: from its offset 9 up to the first
// zero byte (or the end of the block). Code page 1252 bytes.
std::string tdbSeriesName(ByteView tdb);

// The file image with every occurrence of the series name in the three kept
// blocks replaced by `newName` (code page 1252 bytes). Nothing when a rebuilt
// block would no longer fit its 16-bit length field.
std::optional<RenamedTdb> renameTdbImage(ByteView tdb, std::string_view newName);

}  // namespace veldra::formats
