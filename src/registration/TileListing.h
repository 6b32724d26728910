#pragma once
// The tile list of one installed mapset: the tiles its TDB names, each with
// the files that carry its TRE header and the draw priority read from them.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "formats/TdbTileList.h"
#include "gmap/GmapRecord.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// Where the tiles live: IMG files in the registry's tile folder, or the tile
// subfolders of a gmap package.
enum class TileKind { Img, Gmp };

struct TileFile {
    std::filesystem::path path;
    // Nothing when no TRE header was found: the file is never written.
    std::optional<std::uint8_t> drawPriority;
};

struct ListedTile {
    formats::TdbTile tile;
    // Img: the tile file, also when it is missing; Gmp: the tile's subfolder.
    std::filesystem::path location;
    // The existing files that may hold the TRE header: the tile file, or every
    // file of the subfolder whose name ends in "tre" or "gmp", by name.
    std::vector<TileFile> files;

    // The value read last, as the draw priority field holds it after the tile.
    std::optional<std::uint8_t> lastDrawPriority() const;
};

struct TileListing {
    TileKind kind = TileKind::Img;
    // Img: the mapset's tile folder; Gmp: the package folder.
    std::filesystem::path folder;
    std::vector<ListedTile> tiles;

    // The tile's list line in UTF-8, one draw priority appended per value read:
    // Img "00000001.img  =  <description>  ; Drawpriority = <n>",
    // Gmp "00000001=  <description> ; DP = <n>".
    std::string line(const ListedTile& tile) const;
};

// Both show "Map does not exist" when the TDB file is gone.
Result<TileListing> listRegistryTiles(app::Session& session, const RegistryRecord& record);
Result<TileListing> listPackageTiles(app::Session& session, const gmap::GmapRecord& record);

}  // namespace veldra::registration
