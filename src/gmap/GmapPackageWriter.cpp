#include "gmap/GmapPackageWriter.h"

#include <system_error>

#include "formats/FileSizeLimits.h"
#include "formats/TdbPackageWalk.h"
#include "gmap/GmapFolders.h"
#include "gmap/InfoXmlWriting.h"
#include "gmap/MapFolderUnpacking.h"
#include "gmap/PackageName.h"
#include "platform/FileMove.h"
#include "platform/PathText.h"

namespace veldra::gmap {
namespace fs = std::filesystem;
namespace {

// Shown in German whatever the language, as the host-program users know it.
constexpr const char* TilesOfTdbMissing =
    "Die im TDB-file verzeichneten Files sind nicht im Kartenordner vorhanden. Stellen Sie alle zum Kartensatz "
    "gehörigen Files in das selbe Verzeichnis. Bereits vom Programm angelegte Ordner werden jetzt gelöscht.";

Status madeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return fail("Cannot create the folder " + platform::pathText(folder) + ": " + ec.message());
    return {};
}

Status fromFile(const platform::FileResult& result) { return result ? Status{} : fail(result.error); }

bool isFile(const std::optional<fs::path>& file) {
    std::error_code ec;
    return file && fs::is_regular_file(*file, ec);
}

// Makes a folder and unpacks the image into it.
Status unpackedMap(app::Session& session, const fs::path& folder, const fs::path& image) {
    if (auto made = madeFolder(folder); !made) return made;
    unpackIntoFolder(session, folder, image);
    return {};
}

std::string filesProcessed(const app::Session& session, std::size_t count) {
    return session.msg(Msg::MsgThereAre) + std::to_string(count) + session.msg(Msg::MsgFilesProcessedComplete);
}

Result<fs::path> createdPackageFolder(const app::Session& session, const std::string& folderName) {
    const auto folder = packageFolderFor(session, folderName);
    if (!folder) return fail("The host does not name its common application data folder.");
    if (auto made = madeFolder(*folder); !made) return made.failure();
    return *folder;
}

std::string eightDigits(std::uint32_t number) {
    const std::string digits = "00000000" + std::to_string(number);
    return digits.substr(digits.size() - 8);
}

// The tiles of an existing mapset, as its TDB lists them, each into its folder.
Status unpackListedTiles(app::Session& session, const ExistingMapsetPackage& mapset, const fs::path& product,
                         std::size_t& count, const Progress& progress) {
    auto tdb = platform::readFileCapped(mapset.tdb, formats::TdbFileLimit);
    if (!tdb) return tdb.failure();
    const auto numbers = formats::packageTileNumbers(*tdb);
    tell(progress, 0, numbers.size());
    for (const std::uint32_t number : numbers) {
        const std::string name = eightDigits(number);
        const fs::path tile = mapset.tilesFolder / (name + ".img");
        std::error_code ec;
        if (!fs::is_regular_file(tile, ec)) {
            session.dialogs.inform(TilesOfTdbMissing);
            return alreadyShown();
        }
        if (auto unpacked = unpackedMap(session, product / name, tile); !unpacked) return unpacked;
        tell(progress, ++count, numbers.size());
        session.dialogs.status(session.msg(Msg::MsgWorkingOnFile) + name + ".img");
        session.dialogs.processEvents();
    }
    return {};
}

}  // namespace

std::optional<fs::path> packageFolderFor(const app::Session& session, const std::string& folderName) {
    const auto maps = garminMapsFolder(session, platform::csidl::CommonAppData);
    if (!maps) return std::nullopt;
    return *maps / platform::pathFromText(folderName + ".gmap");
}

Result<fs::path> writeNewMapsetPackage(app::Session& session, const NewMapsetPackage& mapset) {
    auto package = createdPackageFolder(session, mapset.name);
    if (!package) return package;
    const fs::path product = *package / "Product1";
    if (auto made = madeFolder(product); !made) return made.failure();

    for (std::size_t i = 0; i < mapset.tiles.size(); ++i) {
        const fs::path& tile = mapset.tiles[i];
        if (auto unpacked = unpackedMap(session, product / tile.stem(), tile); !unpacked) return unpacked.failure();
        session.dialogs.status(std::to_string(i + 1) + ": " + platform::pathText(tile));
        session.dialogs.processEvents();
    }
    const std::string tdbName = mapset.baseName + ".tdb";
    if (auto moved = fromFile(platform::moveFileReplacing(mapset.tileFolder / tdbName, product / tdbName)); !moved)
        return moved.failure();
    const fs::path overview = mapset.tileFolder / (mapset.baseName + ".img");
    if (auto unpacked = unpackedMap(session, product / "mapset", overview); !unpacked) return unpacked.failure();
    std::error_code ignored;
    fs::remove(overview, ignored);
    fs::remove(mapset.tileFolder / (mapset.baseName + ".mp"), ignored);

    InfoXmlContent info{mapset.name, mapset.fid, std::nullopt, false, std::nullopt, "1", tdbName, "Product1"};
    const std::string indexName = mapset.baseName + ".mdx";
    if (fs::is_regular_file(mapset.tileFolder / indexName, ignored)) {
        if (auto moved = fromFile(platform::moveFileReplacing(mapset.tileFolder / indexName, *package / indexName));
            !moved)
            return moved.failure();
        info.indexFile = indexName;
    }
    if (auto written = writeInfoXml(*package, info); !written) return written.failure();
    session.dialogs.status(filesProcessed(session, mapset.tiles.size()));
    return package;
}

Result<fs::path> writeExistingMapsetPackage(app::Session& session, const ExistingMapsetPackage& mapset,
                                            const Progress& progress) {
    const std::string folderName = cleanedMapsetName(mapset.name);
    auto package = createdPackageFolder(session, folderName);
    if (!package) return package;
    const std::string productFolder = "Product" + mapset.pid;
    InfoXmlContent info{asciiWithQuestionMarks(folderName), mapset.fid, std::nullopt, false, std::nullopt,
                        mapset.pid, platform::pathText(mapset.tdb.filename()), productFolder};

    if (isFile(mapset.indexFile)) {
        const fs::path name = mapset.indexFile->filename();
        if (auto copied = fromFile(platform::copyFileReplacing(*mapset.indexFile, *package / name)); !copied)
            return copied.failure();
        info.indexFile = platform::pathText(name);
    }
    if (isFile(mapset.mdrFile)) {
        if (auto unpacked = unpackedMap(session, *package / "MDRMAP", *mapset.mdrFile); !unpacked)
            return unpacked.failure();
        info.hasMdr = true;
    }
    if (isFile(mapset.typeFile)) {
        const fs::path name = mapset.typeFile->filename();
        if (auto copied = fromFile(platform::copyFileReplacing(*mapset.typeFile, *package / name)); !copied)
            return copied.failure();
        info.typeFile = platform::pathText(name);
    }
    const fs::path product = *package / productFolder;
    if (auto unpacked = unpackedMap(session, product / "mapset", mapset.overviewMap); !unpacked)
        return unpacked.failure();
    if (auto copied = fromFile(platform::copyFileReplacing(mapset.tdb, product / mapset.tdb.filename())); !copied)
        return copied.failure();
    if (auto written = writeInfoXml(*package, info); !written) return written.failure();

    std::size_t count = 0;
    if (auto tiles = unpackListedTiles(session, mapset, product, count, progress); !tiles) {
        // A package whose maps are missing would show an empty mapset.
        std::error_code ignored;
        fs::remove_all(*package, ignored);
        return tiles.failure();
    }
    session.dialogs.status(filesProcessed(session, count));
    return package;
}

}  // namespace veldra::gmap
