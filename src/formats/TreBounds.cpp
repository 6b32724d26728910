#include "formats/TreBounds.h"

#include <algorithm>
#include <string_view>

namespace veldra::formats {
namespace {

constexpr std::size_t SignatureOffset = 2;
constexpr std::string_view Signature = "GARMIN TRE";
constexpr std::size_t NorthOffset = 0x15;
constexpr std::size_t LevelsOffset = 0x21;  // u32 offset, u32 size
constexpr std::size_t LevelsEnd = 0x29;
constexpr std::size_t MapIdOffset = 0x74;
constexpr std::size_t MapIdMinimumHeader = 117;
constexpr std::size_t LevelRecordSize = 4;

std::int32_t s24At(ByteView bytes, std::size_t offset) {
    const std::uint32_t raw = std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
                              std::uint32_t{bytes[offset + 2]} << 16;
    const std::uint32_t extended = (raw & 0x800000u) != 0 ? (raw | 0xFF000000u) : raw;
    return static_cast<std::int32_t>(extended);
}

}  // namespace

double mapUnitsToDegrees(std::int32_t units) { return units * 360.0 / (1 << 24); }

MapBounds unite(const MapBounds& a, const MapBounds& b) {
    return {std::max(a.north, b.north), std::max(a.east, b.east), std::min(a.south, b.south),
            std::min(a.west, b.west)};
}

TreRead parseTre(ByteView tre) {
    const auto headerLength = u16At(tre, 0);
    if (!headerLength || tre.size() < SignatureOffset + Signature.size() ||
        std::string_view(reinterpret_cast<const char*>(tre.data()) + SignatureOffset, Signature.size()) != Signature) {
        return {std::nullopt, "no TRE header"};
    }
    if (*headerLength < LevelsEnd || tre.size() < *headerLength) return {std::nullopt, "the TRE header is truncated"};

    TreFacts facts;
    facts.bounds = {s24At(tre, NorthOffset), s24At(tre, NorthOffset + 3), s24At(tre, NorthOffset + 6),
                    s24At(tre, NorthOffset + 9)};
    if (*headerLength >= MapIdMinimumHeader && *headerLength >= MapIdOffset + 4) facts.mapId = u32At(tre, MapIdOffset);

    const std::uint32_t levelsAt = *u32At(tre, LevelsOffset);
    const std::uint32_t levelsSize = *u32At(tre, LevelsOffset + 4);
    if (levelsAt > tre.size() || tre.size() - levelsAt < levelsSize || levelsSize % LevelRecordSize != 0) {
        return {std::nullopt, "the TRE level table lies outside the subfile"};
    }
    for (std::size_t at = levelsAt; at < std::size_t{levelsAt} + levelsSize; at += LevelRecordSize) {
        facts.levelBits.push_back(tre[at + 1]);
    }
    return {std::move(facts), {}};
}

}  // namespace veldra::formats
