#include "existing/ExistingRegistration.h"

#include <system_error>

#include "app/RegistryEdit.h"
#include "existing/ExistingFileChecks.h"
#include "existing/ExistingMapsetStamping.h"
#include "existing/ExistingTdbAdoption.h"
#include "formats/TdbStructure.h"
#include "gmap/GmapPackageWriter.h"
#include "gmap/PackageName.h"
#include "platform/PathText.h"
#include "registration/NumberText.h"
#include "registration/TypeFileNames.h"

namespace veldra::existing {
namespace fs = std::filesystem;
namespace {

using Root = platform::RegistryRoot;

bool isFile(const std::optional<fs::path>& file) {
    std::error_code ec;
    return file && fs::is_regular_file(*file, ec);
}

Status checkFields(const ExistingMapset& mapset) {
    const std::pair<FileField, std::optional<fs::path>> fields[] = {
        {FileField::Tdb, mapset.tdb},           {FileField::OverviewMap, mapset.overviewMap},
        {FileField::TypeFile, mapset.typeFile}, {FileField::IndexFile, mapset.indexFile},
        {FileField::MdrFile, mapset.mdrFile},   {FileField::TrafficFile, mapset.trafficFile}};
    for (const auto& [field, file] : fields)
        if (auto checked = checkFileField(field, file); !checked) return checked;
    // Without TDB, overview map and tiles folder there is nothing to register.
    std::error_code ec;
    if (!fs::is_regular_file(mapset.tdb, ec) || !fs::is_regular_file(mapset.overviewMap, ec))
        return fail(Msg::MsgExistingFileMissing);
    if (!fs::is_directory(mapset.tilesFolder, ec))
        return fail(Msg::MsgNoSuchTileFolder, platform::pathText(mapset.tilesFolder));
    // Files that only carry the right extension would be stamped as if they were what they claim.
    // The field's message, then the file it is about.
    if (!formats::checkTdbFile(mapset.tdb))
        return fail(Msg::MsgExistingTdbInvalid, ": " + platform::pathText(mapset.tdb));
    if (isFile(mapset.typeFile) && !registration::checkTypeFileContent(*mapset.typeFile))
        return fail(Msg::MsgExistingTypInvalid, ": " + platform::pathText(*mapset.typeFile));
    return {};
}

Result<std::uint16_t> idNumber(const std::string& text) {
    const auto value = registration::wholeNumber(text);
    if (!value) return fail(Msg::MsgExistingIdNotNumeric);
    if (*value > 0xFFFF) return fail("An ID is a number from 0 to 65535; " + text + " is not.");
    return static_cast<std::uint16_t>(*value);
}

std::string twoBytes(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

Status writeRegistryEntry(app::Session& session, const ExistingMapset& mapset, const std::string& key,
                          std::uint16_t fid, std::uint16_t pid, const std::optional<fs::path>& preparedType) {
    auto& routines = session.routines;
    const auto host = [&](const fs::path& path) { return session.host.paths.toHost(path); };
    const auto store = [&](const std::string& in, const char* name, const fs::path& path) {
        return routines.storeStringVerified(Root::LocalMachine, in, name, host(path));
    };
    if (preparedType)
        if (auto s = store(key, "Typ", *preparedType); !s) return s;
    if (isFile(mapset.indexFile))
        if (auto s = store(key, "IDX", *mapset.indexFile); !s) return s;
    if (isFile(mapset.mdrFile))
        if (auto s = store(key, "MDR", *mapset.mdrFile); !s) return s;
    if (auto s = routines.storeTextAsBinary(Root::LocalMachine, key, "ID", twoBytes(fid)); !s) return s;
    const std::string product = key + "\\" + std::to_string(pid);
    if (auto s = store(product, "Loc", mapset.tilesFolder); !s) return s;
    if (auto s = store(product, "Bmap", mapset.overviewMap); !s) return s;
    if (auto s = store(product, "TDB", mapset.tdb); !s) return s;
    if (isFile(mapset.trafficFile))
        if (auto s = store(key, "trf", *mapset.trafficFile); !s) return s;
    return {};
}

}  // namespace

std::string existingFamilyKeyName(std::string_view headerKeyName, std::string_view fidText) {
    std::string prefix;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < headerKeyName.size() && characters < 12; ++i) {
        const auto byte = static_cast<unsigned char>(headerKeyName[i]);
        if ((byte & 0xC0) != 0x80) ++characters;
        if (characters <= 12) prefix.push_back(headerKeyName[i]);
    }
    // Continuation bytes of the twelfth character.
    for (std::size_t i = prefix.size(); i < headerKeyName.size(); ++i) {
        if ((static_cast<unsigned char>(headerKeyName[i]) & 0xC0) != 0x80) break;
        prefix.push_back(headerKeyName[i]);
    }
    return prefix + std::string(fidText);
}

Result<RegisteredMapset> registerExistingMapset(app::Session& session, ExistingMapset mapset,
                                                ExistingInstall install, const Progress& progress) {
    for (auto* path : {&mapset.tdb, &mapset.overviewMap, &mapset.tilesFolder}) *path = fs::absolute(*path);
    if (auto checked = checkFields(mapset); !checked) return checked.failure();
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();

    auto adopted = adoptExistingTdb(mapset.tdb);
    if (!adopted) return adopted.failure();
    if (mapset.name.empty()) mapset.name = adopted->shownName;
    mapset.name = gmap::cleanedMapsetName(mapset.name);
    if (mapset.fid.empty()) mapset.fid = std::to_string(adopted->fid);
    if (mapset.pid.empty()) mapset.pid = std::to_string(adopted->pid);
    const auto fid = idNumber(mapset.fid);
    if (!fid) return fid.failure();
    const auto pid = idNumber(mapset.pid);
    if (!pid) return pid.failure();
    mapset.pid = std::to_string(*pid);  // the product folder and key take the number

    const std::string key = existingFamilyKeyName(adopted->keyName, mapset.fid);
    // A backslash in the header text would make the key a path of keys.
    if (install == ExistingInstall::Registry && key.find('\\') != std::string::npos)
        return fail("The TDB's header text holds a backslash; it cannot name a registry key.");

    auto prepared = stampExistingMapset(session, mapset, *fid, *pid);
    if (!prepared) return prepared.failure();

    RegisteredMapset registered{mapset.name, mapset.fid, mapset.pid, {}};
    if (install == ExistingInstall::GmapPackage) {
        auto package = gmap::writeExistingMapsetPackage(
            session, {mapset.name, mapset.fid, mapset.pid, mapset.tdb, mapset.overviewMap, mapset.tilesFolder,
                      mapset.indexFile, mapset.mdrFile, *prepared},
            progress);
        if (!package) return package.failure();
        registered.location = platform::pathText(*package);
    } else {
        const std::string familyKey = session.hostRegistryRoot + "\\Garmin\\Mapsource\\Families\\" + key;
        if (auto written = writeRegistryEntry(session, mapset, familyKey, *fid, *pid, *prepared); !written)
            return written.failure();
        if (auto committed = edit->commit(); !committed) return committed.failure();
        session.dialogs.inform(session.msg(Msg::MsgExistingRegistered));
        registered.location = familyKey;
    }
    return registered;
}

}  // namespace veldra::existing
