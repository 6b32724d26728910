#include "formats/TdbTileList.h"

#include <optional>

#include "formats/TdbBlocks.h"

namespace veldra::formats {
namespace {

// The block after `start`, or nothing when the data ends inside the way there.
std::optional<std::size_t> nextBlock(ByteView tdb, std::size_t start) {
    const auto length = u16At(tdb, start + 1);
    if (!length) return std::nullopt;
    const std::size_t next = start + TdbBlockPrefix + *length;
    if (next >= tdb.size()) return std::nullopt;
    return next;
}

// The first tile block after the block behind the header; that block itself
// is never taken as a tile block.
std::optional<std::size_t> firstTileBlock(ByteView tdb) {
    const auto headerLength = u16At(tdb, 1);
    if (!headerLength) return std::nullopt;
    std::size_t block = TdbBlockPrefix + *headerLength;
    for (;;) {
        const auto next = nextBlock(tdb, block);
        if (!next) return std::nullopt;
        if (tdb[*next] == TdbTileBlock) return next;
        block = *next;
    }
}

// The edges are stored with eight more bits than the TRE's map units carry.
std::optional<MapBounds> boundsOf(ByteView tdb, std::size_t block) {
    const auto length = u16At(tdb, block + 1);
    if (!length || TdbBlockPrefix + *length < TdbTileDescriptionOffset) return std::nullopt;
    std::int32_t edges[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto units = u32At(tdb, block + TdbTileBoundsOffset + 4 * i);
        if (!units) return std::nullopt;
        edges[i] = static_cast<std::int32_t>(*units) >> 8;
    }
    return MapBounds{edges[0], edges[1], edges[2], edges[3]};
}

std::string descriptionAt(ByteView tdb, std::size_t offset) {
    std::string text(1, static_cast<char>(tdb[offset]));
    for (std::size_t i = offset + 1; i < tdb.size() && tdb[i] != 0; ++i) text += static_cast<char>(tdb[i]);
    return text;
}

}  // namespace

std::vector<TdbTile> listTdbTiles(ByteView tdb) {
    std::vector<TdbTile> tiles;
    const auto first = firstTileBlock(tdb);
    if (!first) return tiles;
    for (std::size_t block = *first; block + TdbTileMinimumSpan < tdb.size() && tdb[block] == TdbTileBlock;) {
        tiles.push_back({*u32At(tdb, block + TdbTileNumberOffset), descriptionAt(tdb, block + TdbTileDescriptionOffset),
                         block, boundsOf(tdb, block)});
        block += TdbBlockPrefix + *u16At(tdb, block + 1);
    }
    return tiles;
}

std::string tileFileName(std::uint32_t number) {
    const std::string padded = "00000000" + std::to_string(number);
    return padded.substr(padded.size() - 8);
}

std::string imgTileLine(const TdbTile& tile) { return tileFileName(tile.number) + ".img  =  " + tile.description; }

std::string gmpTileLine(const TdbTile& tile) { return tileFileName(tile.number) + "=  " + tile.description; }

}  // namespace veldra::formats
