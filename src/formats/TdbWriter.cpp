#include "formats/TdbWriter.h"

#include <array>
#include <initializer_list>

#include "formats/TdbBlocks.h"
#include "formats/TdbChecksum.h"

namespace veldra::formats {
namespace {

constexpr std::uint16_t TdbVersion = 407;
constexpr std::uint16_t ProductVersion = 100;
constexpr std::uint8_t CopyrightBlock = 0x44;
constexpr std::uint8_t CopyrightTextCode = 6;
constexpr std::uint8_t NameBlockMarker = 0xC3;
constexpr std::size_t TrailerLength = 20;

class Block {
public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }
    template <std::size_t N>
    void bytes(const std::array<std::uint8_t, N>& b) { data_.insert(data_.end(), b.begin(), b.end()); }
    void text(std::string_view s) {
        if (s.find('\0') != std::string_view::npos) badText_ = true;
        data_.insert(data_.end(), s.begin(), s.end());
        u8(0);
    }
    // Appends the block with its prefix; false when it does not fit.
    bool appendTo(std::vector<std::uint8_t>& file, std::uint8_t type) const {
        if (badText_ || data_.size() > 0xFFFF) return false;
        file.push_back(type);
        file.push_back(static_cast<std::uint8_t>(data_.size()));
        file.push_back(static_cast<std::uint8_t>(data_.size() >> 8));
        file.insert(file.end(), data_.begin(), data_.end());
        return true;
    }

private:
    std::vector<std::uint8_t> data_;
    bool badText_ = false;
};

// The TDB gives coordinates in 2^32 units for 360 degrees: map units times 256.
void bounds(Block& b, const MapBounds& box) {
    for (const std::int32_t units : {box.north, box.east, box.south, box.west}) b.u32(static_cast<std::uint32_t>(units) << 8);
}

Block headerBlock(const TdbMapset& m) {
    Block b;
    b.u16(m.pid);
    b.u16(m.fid);
    b.u16(TdbVersion);
    b.text(m.seriesName);
    b.u16(ProductVersion);
    b.text(m.familyName);
    // The fields version 407 adds after the family name.
    b.bytes(std::array<std::uint8_t, 5>{0x00, 0x12, 0x01, 0x01, 0x01});
    b.u32(0);
    b.bytes(std::array<std::uint8_t, 2>{0x00, 0x18});
    b.zeros(19);
    b.u32(m.codePage);
    b.u32(10000);
    b.bytes(std::array<std::uint8_t, 3>{0x01, 0x00, 0x00});
    return b;
}

Block copyrightBlock(const TdbMapset& m) {
    Block b;
    for (const auto& text : m.copyrights) {
        b.u8(CopyrightTextCode);
        b.u8(3);
        b.u16(0);
        b.text(text);
    }
    return b;
}

Block nameBlock(const TdbMapset& m) {
    Block b;
    b.u8(NameBlockMarker);
    b.text(m.seriesName);
    return b;
}

Block overviewBlock(const TdbMapset& m) {
    Block b;
    b.u32(m.overviewNumber);
    b.u32(0);
    MapBounds box = m.tiles.empty() ? MapBounds{} : m.tiles.front().bounds;
    for (const auto& tile : m.tiles) box = unite(box, tile.bounds);
    bounds(b, box);
    b.text(m.seriesName);
    return b;
}

Block tileBlock(const TdbMapset& m, const TdbTileEntry& tile) {
    Block b;
    b.u32(tile.number);
    b.u32(m.overviewNumber);
    bounds(b, tile.bounds);
    b.text(tile.description);
    const auto count = static_cast<std::uint16_t>(tile.subfiles.size());  // at most 0xFFFE, checked by the caller
    b.u16(static_cast<std::uint16_t>(count + 1));
    b.u16(count);
    for (std::size_t i = 0; i < count; ++i) b.u32(tile.subfiles[i].size);
    b.bytes(std::array<std::uint8_t, 4>{0x01, 0xC3, 0x00, 0xFF});
    b.zeros(3);
    for (std::size_t i = 0; i < count; ++i) b.text(tile.subfiles[i].name);
    return b;
}

}  // namespace

TdbBuild buildTdb(const TdbMapset& mapset) {
    std::vector<std::uint8_t> file;
    const auto fail = [](std::string what) { return TdbBuild{{}, "cannot write the " + what + " of the TDB"}; };
    if (!headerBlock(mapset).appendTo(file, TdbHeaderBlock)) return fail("header");
    if (!copyrightBlock(mapset).appendTo(file, CopyrightBlock)) return fail("copyright block");
    if (!nameBlock(mapset).appendTo(file, TdbNameBlock)) return fail("name block");
    if (!overviewBlock(mapset).appendTo(file, TdbOverviewBlock)) return fail("overview block");
    for (const auto& tile : mapset.tiles) {
        if (tile.subfiles.size() > 0xFFFE || !tileBlock(mapset, tile).appendTo(file, TdbTileBlock))
            return fail("block of tile " + std::to_string(tile.number));
    }
    Block trailer;
    trailer.zeros(TrailerLength);
    trailer.appendTo(file, TdbTrailerBlock);
    for (const auto& patch : checksumUpdate(file).patches) file[patch.offset] = patch.value;
    return {std::move(file), {}};
}

}  // namespace veldra::formats
