// -S with a list file: the TDB and the overview source of the listed tiles.

#include <set>

#include "common/ToolPaths.h"
#include "gmt/GmtFiles.h"
#include "gmt/GmtModes.h"
#include "gmt/MapsetFiles.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

constexpr const char* CopyrightText = "Mapset made with VELDRA";

// The list file: one tile path per line, code page 1252, CR LF or LF.
std::vector<std::string> listedPaths(const fs::path& list) {
    std::vector<std::uint8_t> bytes;
    if (const auto read = platform::readWholeFile(list, bytes); !read)
        throw GmtError("cannot read the list file " + platform::pathText(list));
    std::vector<std::string> paths;
    std::string text = platform::cp1252ToUtf8(bytes);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = platform::trimWhitespace(std::string_view(text).substr(start, end - start));
        if (!line.empty()) paths.push_back(std::string(line));
        start = end + 1;
    }
    if (paths.empty()) throw GmtError("the list file " + platform::pathText(list) + " names no tiles");
    return paths;
}

std::string parentText(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

void makeMapset(const GmtCommand& command, std::ostream& out) {
    const std::vector<std::string> listed = listedPaths(nativeToolPath(command.listFile));
    const fs::path folder = outputFolder(command.outputDir);

    std::vector<TileSummary> tiles;
    std::set<std::uint32_t> numbers;
    for (const auto& text : listed) {
        const fs::path path = nativeToolPath(text);
        const auto number = tileNumberOf(platform::pathText(path.stem()));
        if (!number) throw GmtError(platform::pathText(path) + " is no tile: its name is not eight digits");
        if (!numbers.insert(*number).second) throw GmtError("the tile " + text + " is listed twice");
        const auto image = openImage(path);
        std::vector<const formats::ImgSubfile*> subfiles;
        for (const auto& subfile : image->layout().subfiles) subfiles.push_back(&subfile);
        tiles.push_back(summarizeTile(*image, *number, image->layout().description, subfiles));
    }

    formats::TdbMapset mapset;
    mapset.pid = command.pid;
    mapset.fid = command.fid;
    mapset.seriesName = platform::utf8ToCp1252(command.mapsetName);
    mapset.familyName = mapset.seriesName;
    mapset.codePage = command.codePage;
    mapset.copyrights = {CopyrightText};
    const MapsetPlace place{folder, command.baseName, nativeToolPath(listed.front()).parent_path(),
                            command.outputDir, parentText(listed.front())};
    writeMapsetFiles(std::move(mapset), tiles, place, out);
    out << tiles.size() << " tiles in the mapset " << command.mapsetName << "\n";
}

}  // namespace veldra::outside
