#include "registration/TileListing.h"

#include <algorithm>
#include <system_error>

#include "formats/FileSizeLimits.h"
#include "formats/TreDrawPriority.h"
#include "platform/CappedFileRead.h"
#include "platform/Cp1252.h"
#include "platform/FileNames.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

bool isFile(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

Result<std::vector<formats::TdbTile>> readTdbTiles(app::Session& session, const fs::path& tdb) {
    const auto found = tdb.empty() ? std::nullopt : platform::findIgnoringCase(tdb);
    if (!found || !isFile(*found)) {
        session.dialogs.inform(app::MsgMapDoesNotExist);
        return alreadyShown();
    }
    const auto bytes = platform::readFileCapped(*found, formats::TdbFileLimit);
    if (!bytes) return bytes.failure();
    return formats::listTdbTiles(*bytes);
}

template <class ReadDrawPriority>
TileFile readTileFile(const fs::path& file, ReadDrawPriority read) {
    const formats::DrawPriorityReading reading = read(file);
    if (reading.status != formats::DrawPriorityStatus::Found) return {file, std::nullopt};
    return {file, reading.value};
}

// A package tile's files in name order, so that reading and writing take them alike.
std::vector<fs::path> treFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (formats::isGmapTreFile(it->path()) && isFile(it->path())) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::optional<std::uint8_t> ListedTile::lastDrawPriority() const {
    for (auto file = files.rbegin(); file != files.rend(); ++file)
        if (file->drawPriority) return file->drawPriority;
    return std::nullopt;
}

std::string TileListing::line(const ListedTile& listed) const {
    const bool img = kind == TileKind::Img;
    std::string text = img ? formats::imgTileLine(listed.tile) : formats::gmpTileLine(listed.tile);
    for (const TileFile& file : listed.files)
        if (file.drawPriority) text += (img ? "  ; Drawpriority = " : " ; DP = ") + std::to_string(*file.drawPriority);
    return platform::cp1252ToUtf8(text);
}

Result<TileListing> listRegistryTiles(app::Session& session, const RegistryRecord& record) {
    auto tiles = readTdbTiles(session, session.host.paths.toNative(record.tdb));
    if (!tiles) return tiles.failure();
    TileListing listing{TileKind::Img, session.host.paths.toNative(record.loc), {}};
    for (const formats::TdbTile& tile : *tiles) {
        ListedTile listed{tile, {}, {}};
        // Without a tile folder no tile is looked for, least of all beside this program.
        if (!listing.folder.empty()) {
            listed.location = listing.folder / (formats::tileFileName(tile.number) + ".img");
            if (const auto found = platform::findIgnoringCase(listed.location); found && isFile(*found)) {
                listed.location = *found;
                listed.files.push_back(readTileFile(*found, formats::readImgDrawPriority));
            }
        }
        listing.tiles.push_back(std::move(listed));
        session.dialogs.processEvents();
    }
    return listing;
}

Result<TileListing> listPackageTiles(app::Session& session, const gmap::GmapRecord& record) {
    if (auto changeable = record.changeable(); !changeable) return changeable.failure();
    auto tiles = readTdbTiles(session, record.tdb);
    if (!tiles) return tiles.failure();
    TileListing listing{TileKind::Gmp, record.packageFolder(), {}};
    for (const formats::TdbTile& tile : *tiles) {
        ListedTile listed{tile, record.tdb.parent_path() / formats::tileFileName(tile.number), {}};
        for (const fs::path& file : treFilesIn(listed.location))
            listed.files.push_back(readTileFile(file, formats::readGmapDrawPriority));
        listing.tiles.push_back(std::move(listed));
        session.dialogs.processEvents();
    }
    return listing;
}

}  // namespace veldra::registration
