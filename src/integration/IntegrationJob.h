#pragma once
// What the user chose for one integration: the tiles, the mapset's name and FID.

#include <filesystem>
#include <string>
#include <vector>

namespace veldra::integration {

struct IntegrationJob {
    std::vector<std::filesystem::path> tiles;  // the chosen files, in list order
    std::string mapsetName;                    // as typed
    std::string fidText;                       // decimal, as typed or proposed
    std::filesystem::path folderShown;         // the tile folder list's folder: output folder of the tools
};

// The eight-character name of the mapset's files: blanks become "_", short
// names are padded with the letter o ("Alps" -> "Alpsoooo").
std::string fileBaseName(std::string_view mapsetName);

// The mapset name as the outside tools take it: blanks become "_".
std::string underscored(std::string_view mapsetName);

}  // namespace veldra::integration
