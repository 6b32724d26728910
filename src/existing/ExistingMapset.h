#pragma once
// A mapset that brings its own TDB, overview map and tiles, with the optional
// files that belong to it: what the registration of such a mapset takes.

#include <filesystem>
#include <optional>
#include <string>

namespace veldra::existing {

struct ExistingMapset {
    std::filesystem::path tdb;
    std::filesystem::path overviewMap;
    std::filesystem::path tilesFolder;
    std::optional<std::filesystem::path> typeFile;
    std::optional<std::filesystem::path> indexFile;
    std::optional<std::filesystem::path> mdrFile;
    std::optional<std::filesystem::path> trafficFile;
    std::string name;  // the mapset name, as the name field holds it
    std::string fid;   // decimal text
    std::string pid;   // decimal text
};

}  // namespace veldra::existing
