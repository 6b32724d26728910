#pragma once
// The files that describe one mapset: BASE.tdb and the overview source
// BASE.mp in the output folder, install.bat and uninstall.bat beside the tiles.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "formats/TdbWriter.h"
#include "gmt/TileSummary.h"

namespace veldra::outside {

struct MapsetPlace {
    std::filesystem::path folder;       // where BASE.tdb and BASE.mp go
    std::string baseName;
    std::filesystem::path batchFolder;  // where the batch files go
    std::string folderText;             // the two folders as given on the command line,
    std::string tileFolderText;         // for the batch files
};

// `mapset` lacks only its overview number and tiles, which come from `tiles`.
void writeMapsetFiles(formats::TdbMapset mapset, const std::vector<TileSummary>& tiles, const MapsetPlace& place,
                      std::ostream& out);

// The folder text joined with a file name by the separator the text uses.
std::string joinAsGiven(const std::string& folderText, const std::string& name);

}  // namespace veldra::outside
