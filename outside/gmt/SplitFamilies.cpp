// -G: one image per map family of a device image, each with its own MPS
// subfile, its tiles, its index and sort files and its type files.

#include <set>

#include "common/ToolPaths.h"
#include "formats/TdbTileList.h"
#include "formats/TypStamp.h"
#include "gmt/GmtFiles.h"
#include "gmt/GmtModes.h"
#include "gmt/ImageFamilies.h"
#include "gmt/TileSummary.h"
#include "platform/Cp1252.h"

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

std::vector<formats::MpsRecord> familyRecords(const formats::MpsContents& mps, std::uint16_t fid) {
    std::vector<formats::MpsRecord> records;
    for (const auto& record : mps.records) {
        const auto owner = formats::mpsRecordFid(record);
        if (owner ? *owner == fid : record.type == formats::MpsMapsetRecord) records.push_back(record);
    }
    return records;
}

// Whether the subfile goes into the family's image besides its tiles: files
// named after the family (index, sort order) and type files that carry its FID.
bool belongsToFamily(formats::ImgFile& image, const formats::ImgSubfile& subfile, std::uint16_t fid) {
    if (subfile.type == "TYP") {
        const auto ids = formats::parseTypIds(readSubfile(image, subfile));
        return ids && ids->fid == fid;
    }
    return subfile.type != "MPS" && subfile.trimmedName() == formats::tileFileName(fid);
}

std::vector<OutputSubfile> familyFiles(formats::ImgFile& image, const ImageMps& mps, const ImageFamily& family) {
    std::vector<OutputSubfile> files;
    files.push_back({mps.subfile->name, mps.subfile->type, nullptr,
                     formats::serializeMps(familyRecords(mps.contents, family.fid))});
    std::set<std::uint32_t> taken;
    for (const auto& tile : family.tiles) {
        if (!taken.insert(tile.mapNumber).second) continue;
        for (const auto* subfile : tileSubfiles(image.layout(), tile.mapNumber))
            files.push_back({subfile->name, subfile->type, subfile, {}});
    }
    for (const auto& subfile : image.layout().subfiles) {
        if (belongsToFamily(image, subfile, family.fid)) files.push_back({subfile.name, subfile.type, &subfile, {}});
    }
    return files;
}

}  // namespace

void splitFamilies(const GmtCommand& command, std::ostream& out) {
    const auto image = openImage(nativeToolPath(command.input));
    const auto mps = readImageMps(*image);
    const auto families = mps ? familiesOf(mps->contents) : std::vector<ImageFamily>{};
    if (families.empty()) {
        out << command.input << " carries no family information: nothing written\n";
        return;
    }
    const fs::path folder = outputFolder(command.outputDir);
    for (const auto& family : families) {
        writeOutputImage(folder / (formats::tileFileName(family.fid) + ".img"), *image, familyFiles(*image, *mps, family),
                         {family.name, image->layout().created}, "family " + std::to_string(family.fid), out);
        out << "family " << family.fid << " (" << platform::cp1252ToUtf8(family.name) << "): "
            << family.tiles.size() << " tiles\n";
    }
}

}  // namespace veldra::outside
