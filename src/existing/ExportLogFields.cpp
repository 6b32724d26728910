#include "existing/ExportLogFields.h"

#include <algorithm>
#include <initializer_list>

#include "platform/ConfinedPath.h"
#include "platform/Cp1252.h"

namespace veldra::existing {
namespace fs = std::filesystem;
namespace {

// The endings are matched in the three spellings the log's writers use, not
// in every letter case.
bool endsInOneOf(std::string_view line, std::initializer_list<std::string_view> endings) {
    return std::any_of(endings.begin(), endings.end(), [line](std::string_view e) { return line.ends_with(e); });
}

bool isMdrName(std::string_view line) {
    return line.find("mdr.") != std::string_view::npos || endsInOneOf(line, {"MDR.IMG", "mdr.IMG", "mdr.img"});
}

}  // namespace

Result<ExistingMapset> mapsetFromExportLog(std::string_view log, const fs::path& folder) {
    ExistingMapset mapset;
    mapset.tilesFolder = folder;
    const std::string text = platform::cp1252ToUtf8(log);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        auto path = platform::confinedPath(folder, line);
        if (!path) return path.failure();
        if (endsInOneOf(line, {"TDB", "tdb", "Tdb"})) mapset.tdb = *path;
        else if (endsInOneOf(line, {"TYP", "Typ", "typ"})) mapset.typeFile = *path;
        else if (endsInOneOf(line, {"TRF", "Trf", "trf"})) mapset.trafficFile = *path;
        else if (endsInOneOf(line, {"MDX", "Mdx", "mdx"})) mapset.indexFile = *path;
        else if (endsInOneOf(line, {"IMG", "img", "Img"}) && isMdrName(line)) mapset.mdrFile = *path;
        else if (endsInOneOf(line, {"IMG", "img", "Img"})) mapset.overviewMap = *path;
    }
    return mapset;
}

}  // namespace veldra::existing
