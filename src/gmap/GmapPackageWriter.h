#pragma once
// Writing a gmap package under the common application data folder:
// <ProgramData>\GARMIN\Maps\<name>.gmap with its Info.xml, the product folder,
// the overview map as "mapset" and one folder per tile. Each run builds over
// whatever package of that name exists: files are replaced one by one,
// nothing else in the folder is removed.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"

namespace veldra::gmap {

// A mapset whose TDB, overview map and source the integration has just made
// beside its tiles. TDB and index file move into the package; overview map
// and source are deleted afterwards.
struct NewMapsetPackage {
    std::string name;  // as typed: the folder name and <Name>
    std::string fid;
    std::vector<std::filesystem::path> tiles;
    std::filesystem::path tileFolder;
    std::string baseName;  // the eight-character name of the generated files
};

// A mapset that brings its TDB, overview map and tiles along; they are copied
// or unpacked, never moved.
struct ExistingMapsetPackage {
    std::string name;  // the mapset name; cleaned for the folder, made ASCII for <Name>
    std::string fid;
    std::string pid;
    std::filesystem::path tdb;
    std::filesystem::path overviewMap;
    std::filesystem::path tilesFolder;
    std::optional<std::filesystem::path> indexFile;
    std::optional<std::filesystem::path> mdrFile;
    std::optional<std::filesystem::path> typeFile;  // the FID-stamped copy
};

// <common application data>\GARMIN\Maps\<folderName>.gmap; nothing when the
// host does not know that folder.
std::optional<std::filesystem::path> packageFolderFor(const app::Session& session, const std::string& folderName);

// Both give the package folder they wrote. `progress` counts the tiles the TDB lists.
Result<std::filesystem::path> writeNewMapsetPackage(app::Session& session, const NewMapsetPackage& mapset);
Result<std::filesystem::path> writeExistingMapsetPackage(app::Session& session, const ExistingMapsetPackage& mapset,
                                                         const Progress& progress = {});

}  // namespace veldra::gmap
