#include "OverviewTestReader.h"

#include <stdexcept>

#include "formats/ImgReader.h"

namespace veldra::outside::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t le(const Bytes& b, std::size_t at, int width) {
    if (at + static_cast<std::size_t>(width) > b.size()) throw std::runtime_error("read past the end of a subfile");
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
    return value;
}

Bytes subfile(const Bytes& image, const formats::ImgLayout& layout, const char* type) {
    const auto* found = layout.find(type);
    if (found == nullptr) throw std::runtime_error(std::string("no ") + type + " subfile");
    return formats::extractSubfile(image, layout, *found);
}

struct Subdivision {
    std::uint32_t rgnOffset = 0;
    std::uint8_t contents = 0;
    std::uint8_t levelBits = 0;
};

std::vector<Subdivision> subdivisions(const Bytes& tre) {
    const std::uint32_t levelsAt = le(tre, 0x21, 4), levelsSize = le(tre, 0x25, 4);
    std::uint32_t at = le(tre, 0x29, 4);
    std::vector<Subdivision> result;
    for (std::uint32_t level = 0; level < levelsSize; level += 4) {
        const std::uint8_t bits = static_cast<std::uint8_t>(le(tre, levelsAt + level + 1, 1));
        const std::uint32_t count = le(tre, levelsAt + level + 2, 2);
        const std::uint32_t recordSize = level + 4 == levelsSize ? 14 : 16;  // the last level has no child index
        for (std::uint32_t i = 0; i < count; ++i, at += recordSize) {
            result.push_back({le(tre, at, 3), static_cast<std::uint8_t>(le(tre, at + 3, 1)), bits});
        }
    }
    return result;
}

std::string label(const Bytes& lbl, std::uint32_t reference) {
    if (le(lbl, 0x1E, 1) != 9) return {};
    std::size_t at = le(lbl, 0x15, 4) + (std::size_t{reference & 0x3FFFFF} << le(lbl, 0x1D, 1));
    std::string text;
    while (le(lbl, at, 1) != 0) text += static_cast<char>(lbl[at++]);
    return text;
}

}  // namespace

CompiledMap readCompiledMap(const Bytes& image) {
    const auto read = formats::parseImgImage(image);
    if (!read.layout) throw std::runtime_error(read.error);
    const Bytes tre = subfile(image, *read.layout, "TRE");
    const Bytes rgn = subfile(image, *read.layout, "RGN");
    const Bytes lbl = subfile(image, *read.layout, "LBL");

    CompiledMap map;
    map.mapId = le(tre, 0x74, 4);
    const std::uint32_t dataAt = le(rgn, 0x15, 4), dataSize = le(rgn, 0x19, 4);
    const auto divisions = subdivisions(tre);
    for (std::size_t i = 0; i < divisions.size(); ++i) {
        const Subdivision& d = divisions[i];
        const std::uint32_t end = i + 1 < divisions.size() ? divisions[i + 1].rgnOffset : dataSize;
        // Points, indexed points, lines, polygons: a pointer to each kind after the first.
        int kinds = 0;
        for (const int bit : {0x10, 0x20, 0x40, 0x80}) kinds += (d.contents & bit) != 0 ? 1 : 0;
        if ((d.contents & 0x80) == 0) continue;
        const std::size_t base = dataAt + d.rgnOffset;
        std::size_t at = kinds == 1 ? base : base + le(rgn, base + 2 * static_cast<std::size_t>(kinds - 2), 2);
        const std::size_t stop = dataAt + end;
        while (at < stop) {
            const std::uint8_t type = rgn[at];
            const bool wideLength = (type & 0x80) != 0;
            const std::uint32_t streamLength = le(rgn, at + 8, wideLength ? 2 : 1);
            map.polygons.push_back({static_cast<std::uint8_t>(type & 0x7F), d.levelBits, label(lbl, le(rgn, at + 1, 3))});
            at += (wideLength ? 10 : 9) + 1 + streamLength;  // the stream's base-bits byte is not counted
        }
    }
    return map;
}

}  // namespace veldra::outside::test
