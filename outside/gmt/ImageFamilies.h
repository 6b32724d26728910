#pragma once
// The map families a device image holds, as its MPS subfile tells them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/MpsRecords.h"

namespace veldra::outside {

struct ImageFamily {
    std::uint16_t fid = 0;
    std::uint16_t pid = 0;
    std::string name;        // from the F record, else the tiles' series name
    std::string seriesName;  // from the first tile
    std::vector<formats::MpsTile> tiles;
};

struct ImageMps {
    const formats::ImgSubfile* subfile = nullptr;
    formats::MpsContents contents;
};

// Nothing when the image has no MPS subfile; throws GmtError when it is unreadable.
std::optional<ImageMps> readImageMps(formats::ImgFile& image);

// In the order the tiles name them; empty without family information.
std::vector<ImageFamily> familiesOf(const formats::MpsContents& mps);

}  // namespace veldra::outside
