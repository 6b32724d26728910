#include "gmt/MapsetFiles.h"

#include "common/ToolPaths.h"
#include "gmt/GmtFiles.h"
#include "gmt/InstallBatches.h"
#include "gmt/OverviewSource.h"
#include "platform/PathText.h"

namespace veldra::outside {

std::string joinAsGiven(const std::string& folderText, const std::string& name) {
    const char separator = isHostPath(folderText) || folderText.find('\\') != std::string::npos ? '\\' : '/';
    if (folderText.empty() || folderText.back() == separator) return folderText + name;
    return folderText + separator + name;
}

void writeMapsetFiles(formats::TdbMapset mapset, const std::vector<TileSummary>& tiles, const MapsetPlace& place,
                      std::ostream& out) {
    mapset.overviewNumber = chooseOverviewNumber(tiles);
    mapset.tiles.clear();
    for (const auto& tile : tiles) mapset.tiles.push_back(tile.entry);
    const auto tdb = formats::buildTdb(mapset);
    if (tdb.bytes.empty()) throw GmtError(tdb.error);

    const std::string tdbName = place.baseName + ".tdb";
    const std::string overviewName = place.baseName + ".img";
    writeOutputFile(place.folder / platform::pathFromText(tdbName), tdb.bytes, out);
    writeOutputFile(place.folder / platform::pathFromText(place.baseName + ".mp"), overviewSource(mapset, tiles), out);
    const BatchTargets targets{joinAsGiven(place.folderText, tdbName), joinAsGiven(place.folderText, overviewName),
                               joinAsGiven(place.tileFolderText, "")};
    writeOutputFile(place.batchFolder / "install.bat", installBatch(mapset, targets), out);
    writeOutputFile(place.batchFolder / "uninstall.bat", uninstallBatch(mapset), out);
}

}  // namespace veldra::outside
