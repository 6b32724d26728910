#include "gmt/ImageFamilies.h"

#include <algorithm>

#include "gmt/GmtFiles.h"

namespace veldra::outside {

std::optional<ImageMps> readImageMps(formats::ImgFile& image) {
    const formats::ImgSubfile* subfile = image.layout().find("MPS");
    if (subfile == nullptr) return std::nullopt;
    auto read = formats::parseMps(readSubfile(image, *subfile));
    if (!read.contents) throw GmtError(subfile->fileName() + ": " + read.error);
    return ImageMps{subfile, std::move(*read.contents)};
}

std::vector<ImageFamily> familiesOf(const formats::MpsContents& mps) {
    std::vector<ImageFamily> families;
    if (!mps.hasFamilyInformation()) return families;
    for (const auto& tile : mps.tiles) {
        auto family = std::find_if(families.begin(), families.end(), [&](const auto& f) { return f.fid == tile.fid; });
        if (family == families.end()) {
            families.push_back({tile.fid, tile.pid, tile.seriesName, tile.seriesName, {}});
            family = families.end() - 1;
        }
        family->tiles.push_back(tile);
    }
    for (auto& family : families) {
        const auto named = std::find_if(mps.families.begin(), mps.families.end(),
                                        [&](const auto& f) { return f.fid == family.fid; });
        if (named != mps.families.end()) family.name = named->name;
    }
    return families;
}

}  // namespace veldra::outside
