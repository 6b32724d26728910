#include "gmt/TileSummary.h"

#include <algorithm>

#include "formats/TdbTileList.h"
#include "gmt/GmtFiles.h"

namespace veldra::outside {

std::optional<std::uint32_t> tileNumberOf(std::string_view name) {
    if (name.size() != 8 || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : name) number = number * 10 + static_cast<std::uint32_t>(c - '0');
    return number;
}

std::vector<const formats::ImgSubfile*> tileSubfiles(const formats::ImgLayout& layout, std::uint32_t number) {
    const std::string name = formats::tileFileName(number);
    std::vector<const formats::ImgSubfile*> subfiles;
    for (const auto& subfile : layout.subfiles) {
        if (subfile.trimmedName() == name) subfiles.push_back(&subfile);
    }
    return subfiles;
}

TileSummary summarizeTile(formats::ImgFile& image, std::uint32_t number, std::string description,
                          const std::vector<const formats::ImgSubfile*>& subfiles) {
    const std::string name = formats::tileFileName(number);
    const auto tre = std::find_if(subfiles.begin(), subfiles.end(), [](const auto* s) { return s->type == "TRE"; });
    if (tre == subfiles.end()) throw GmtError("tile " + name + " has no TRE subfile");
    const auto facts = formats::parseTre(readSubfile(image, **tre));
    if (!facts.facts) throw GmtError("tile " + name + ": " + facts.error);

    TileSummary summary;
    summary.description = description;
    summary.levelBits = facts.facts->levelBits;
    summary.entry.number = number;
    summary.entry.bounds = facts.facts->bounds;
    // The tile list shows the description with the number, as mkgmap writes it.
    summary.entry.description = (description.empty() ? "" : description + " ") + "(" + name + ")";
    for (const auto* subfile : subfiles) summary.entry.subfiles.push_back({subfile->fileName(), subfile->size});
    return summary;
}

std::uint32_t chooseOverviewNumber(const std::vector<TileSummary>& tiles) {
    if (tiles.empty()) return 1;
    const auto [lowest, highest] = std::minmax_element(
        tiles.begin(), tiles.end(), [](const auto& a, const auto& b) { return a.entry.number < b.entry.number; });
    return lowest->entry.number > 0 ? lowest->entry.number - 1 : highest->entry.number + 1;
}

}  // namespace veldra::outside
