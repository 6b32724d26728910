// -S with an image: its tiles as NNNNNNNN.img, its type files, and for a
// single map family also the TDB, the overview source and the batch files.

#include <algorithm>

#include "common/ToolPaths.h"
#include "formats/TdbTileList.h"
#include "gmt/GmtFiles.h"
#include "gmt/GmtModes.h"
#include "gmt/ImageFamilies.h"
#include "gmt/MapsetFiles.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

constexpr const char* MapsetBaseName = "mapset";

struct TileToWrite {
    std::uint32_t number = 0;
    std::string description;
};

void writeTile(formats::ImgFile& image, const TileToWrite& tile, const fs::path& folder, std::ostream& out) {
    std::vector<OutputSubfile> files;
    for (const auto* subfile : tileSubfiles(image.layout(), tile.number))
        files.push_back({subfile->name, subfile->type, subfile, {}});
    const std::string name = formats::tileFileName(tile.number);
    writeOutputImage(folder / (name + ".img"), image, files, {tile.description, image.layout().created}, "tile " + name,
                     out);
}

void writeTypeFiles(formats::ImgFile& image, const fs::path& folder, std::ostream& out) {
    for (const auto& subfile : image.layout().subfiles) {
        if (subfile.type == "TYP") {
            writeOutputFile(folder / platform::pathFromText(subfileFileName(subfile.trimmedName() + ".typ")),
                            readSubfile(image, subfile), out);
        }
    }
}

// Without MPS records: every group of subfiles with an 8-digit name and a TRE.
std::vector<TileToWrite> bareTiles(const formats::ImgLayout& layout) {
    std::vector<TileToWrite> tiles;
    for (const auto& subfile : layout.subfiles) {
        const auto number = tileNumberOf(subfile.trimmedName());
        if (subfile.type == "TRE" && number) tiles.push_back({*number, layout.description});
    }
    return tiles;
}

void writeFamily(formats::ImgFile& image, const ImageFamily& family, const GmtCommand& command,
                 const fs::path& folder, std::ostream& out) {
    std::vector<TileSummary> tiles;
    for (const auto& tile : family.tiles) {
        const auto subfiles = tileSubfiles(image.layout(), tile.mapNumber);
        if (subfiles.empty()) throw GmtError("the tile " + formats::tileFileName(tile.mapNumber) + " is missing");
        writeTile(image, {tile.mapNumber, tile.description}, folder, out);
        tiles.push_back(summarizeTile(image, tile.mapNumber, tile.description, subfiles));
    }
    writeTypeFiles(image, folder, out);
    formats::TdbMapset mapset;
    mapset.pid = family.pid;
    mapset.fid = family.fid;
    mapset.seriesName = family.seriesName;
    mapset.familyName = family.name;
    const MapsetPlace place{folder, MapsetBaseName, folder, command.outputDir, command.outputDir};
    writeMapsetFiles(std::move(mapset), tiles, place, out);
    out << "family " << family.fid << " (" << platform::cp1252ToUtf8(family.name) << "): " << tiles.size()
        << " tiles\n";
}

}  // namespace

void splitImage(const GmtCommand& command, std::ostream& out) {
    const auto image = openImage(nativeToolPath(command.input));
    const auto mps = readImageMps(*image);
    const auto families = mps ? familiesOf(mps->contents) : std::vector<ImageFamily>{};
    if (families.size() > 1) {
        throw GmtError(command.input + " holds " + std::to_string(families.size()) +
                       " map families; split it into one image per family with -G first");
    }
    const fs::path folder = outputFolder(command.outputDir);
    if (families.size() == 1) {
        writeFamily(*image, families.front(), command, folder, out);
        return;
    }
    const auto tiles = bareTiles(image->layout());
    for (const auto& tile : tiles) writeTile(*image, tile, folder, out);
    out << command.input << " carries no family information: " << tiles.size() << " tiles only\n";
}

}  // namespace veldra::outside
