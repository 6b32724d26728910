#include "gmt/OverviewSource.h"

#include <algorithm>
#include <cstdio>

#include "common/OverviewSourceKeys.h"
#include "formats/TdbTileList.h"

namespace veldra::outside {
namespace {

constexpr std::uint8_t DefaultTopBits = 17;
constexpr std::uint8_t LowestTopBits = 12;
constexpr std::uint8_t LevelStep = 2;

std::string degrees(std::int32_t units) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", formats::mapUnitsToDegrees(units));
    return text;
}

std::string point(std::int32_t latitude, std::int32_t longitude) {
    return "(" + degrees(latitude) + "," + degrees(longitude) + ")";
}

// Line breaks would end the value early.
std::string oneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

void line(std::string& out, std::string_view key, const std::string& value) {
    out.append(key).append("=").append(value).append("\r\n");
}

}  // namespace

std::uint8_t overviewTopBits(const std::vector<TileSummary>& tiles) {
    std::uint8_t bits = DefaultTopBits;
    bool any = false;
    for (const auto& tile : tiles) {
        for (const auto b : tile.levelBits) {
            bits = any ? std::min(bits, b) : b;
            any = true;
        }
    }
    return std::clamp(bits, LowestTopBits, DefaultTopBits);
}

std::string overviewSource(const formats::TdbMapset& mapset, const std::vector<TileSummary>& tiles) {
    std::string out = "; Overview map source of the mapset " + oneLine(mapset.seriesName) + "\r\n[IMG ID]\r\n";
    line(out, mpkeys::MapNumber, formats::tileFileName(mapset.overviewNumber));
    line(out, mpkeys::Name, oneLine(mapset.seriesName));
    line(out, mpkeys::CodePage, std::to_string(mapset.codePage));
    line(out, mpkeys::FamilyId, std::to_string(mapset.fid));
    line(out, mpkeys::ProductId, std::to_string(mapset.pid));
    line(out, mpkeys::FamilyName, oneLine(mapset.familyName));
    line(out, mpkeys::SeriesName, oneLine(mapset.seriesName));
    const std::uint8_t top = overviewTopBits(tiles);
    line(out, "Levels", "3");
    for (std::uint8_t level = 0; level < 3; ++level) {
        line(out, "Level" + std::to_string(level), std::to_string(top - level * LevelStep));
    }
    out += "[END-IMG ID]\r\n";
    for (const auto& tile : tiles) {
        const auto& box = tile.entry.bounds;
        out += "\r\n[POLYGON]\r\n";
        line(out, "Type", std::string(mpkeys::DefinitionAreaType));
        line(out, "Label", oneLine(tile.description) + std::string(mpkeys::LabelSeparator) +
                               formats::tileFileName(tile.entry.number));
        line(out, "EndLevel", "1");
        line(out, "Data0", point(box.north, box.west) + "," + point(box.north, box.east) + "," +
                               point(box.south, box.east) + "," + point(box.south, box.west));
        out += "[END]\r\n";
    }
    return out;
}

}  // namespace veldra::outside
