#include "registration/MapsetRemoval.h"

#include <filesystem>
#include <string>

#include "app/RegistryEdit.h"
#include "gmap/GmapPackageScan.h"
#include "platform/RegistryPath.h"
#include "registration/DuplicateFids.h"
#include "registration/FolderDeletion.h"
#include "registration/HostFiles.h"
#include "registration/RegistryRecordReading.h"
#include "tools/AccessRights.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// Same wording in both languages.
constexpr const char* AccessRefused = "Zugriff verweigert, close MapSource first";

// Deletes the family's product subkey, then the family key when no more than
// `keepBelow` - 1 subkeys remain (the registry refuses to delete a key that
// still has subkeys).
Status deleteFamilyProduct(app::Session& session, const RegistryRecord& record, std::size_t keepBelow) {
    if (auto removed = session.routines.deleteKey(Machine, record.valueKey); !removed) return removed;
    const std::string familyKey = branchKey(session, record.kind) + record.keyName();
    const auto remaining = session.host.registry.subkeyNames(Machine, familyKey).size();
    if (remaining < keepBelow) return session.routines.deleteKey(Machine, familyKey);
    return {};
}

Status deleteRecordKeys(app::Session& session, const RegistryRecord& record) {
    switch (record.kind) {
        case RecordKind::Families: return deleteFamilyProduct(session, record, 1);
        case RecordKind::FamiliesNT: return deleteFamilyProduct(session, record, 2);
        case RecordKind::Products:
            return session.routines.deleteKey(Machine, branchKey(session, RecordKind::Products) + record.subkey);
    }
    return {};
}

// The registry values could name any file: only a TDB and an IMG file are deleted.
Status checkDeletable(const std::string& hostPath, const fs::path& native, const char* extension) {
    std::error_code ec;
    if (hostPath.empty() || !fs::is_regular_file(native, ec)) return {};
    if (platform::foldCase(native.extension().string()) == extension) return {};
    return fail(Msg::MsgRegistryNamesOtherKind, hostPath + " (" + extension + ")");
}

// Deletes the file behind a host path when it exists; true when that was refused.
bool deleteRefused(const fs::path& native) {
    std::error_code ec;
    if (!fs::is_regular_file(native, ec)) return false;
    fs::remove(native, ec);
    return ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
}

// The question names the mapset it is about.
std::string removalQuestion(const app::Session& session, const std::string& name, const std::string& fid) {
    return session.msg(app::Msg::MsgConfirmRemoveMapset) + " " + name + " (FID " + fid + ")";
}

// A record whose TDB is gone has only the marker as its name: its key and the
// FID it is registered under say which one it is.
std::string registryRemovalQuestion(const app::Session& session, const RegistryRecord& record) {
    if (record.fid != FidErrorMarker || !record.registeredFid) return removalQuestion(session, record.shownName(), record.fid);
    return removalQuestion(session, record.shownName() + " " + record.subkey, std::to_string(*record.registeredFid));
}

}  // namespace

void showMapsetsForRemoval(app::Session& session, platform::Processes& processes, InstalledCatalog& catalog) {
    tools::SetRegistryRights(session, processes, tools::garminRegistryKeyForSetAcl(session), session.userName);
    session.dialogs.processEvents();
    catalog.rebuild(session);
    reportDuplicateFids(session.dialogs, catalog);
}

Status removeRegistryMapset(app::Session& session, InstalledCatalog& catalog, const RegistryRecord& chosen) {
    const RegistryRecord record = chosen;  // the catalog is rebuilt below
    const fs::path tdb = record.tdb.empty() ? fs::path() : session.host.paths.toNative(record.tdb);
    const fs::path overview = record.overview.empty() ? fs::path() : session.host.paths.toNative(record.overview);
    if (auto safe = checkDeletable(record.tdb, tdb, ".tdb"); !safe) return safe;
    if (auto safe = checkDeletable(record.overview, overview, ".img"); !safe) return safe;
    // A registry that cannot be changed now is refused before the question.
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    if (session.dialogs.show({registryRemovalQuestion(session, record), app::DefaultTitle,
                              app::MessageIcon::None, app::MessageButtons::OkCancel}) != app::MessageAnswer::Ok)
        return declined();
    if (auto removed = deleteRecordKeys(session, record); !removed) return removed;
    if (auto committed = edit->commit(); !committed) return committed;
    // Files go only once the keys that name them are gone for good.
    const bool tdbRefused = !tdb.empty() && deleteRefused(tdb);
    const bool overviewRefused = !overview.empty() && deleteRefused(overview);
    catalog.registry = readRegistryRecords(session);
    if (tdbRefused || overviewRefused) {
        session.dialogs.inform(AccessRefused);
        return alreadyShown();
    }
    return {};
}

Status removeGmapPackage(app::Session& session, InstalledCatalog& catalog, const gmap::GmapRecord& chosen) {
    const fs::path folder = chosen.packageFolder();
    if (!session.dialogs.ask(removalQuestion(session, chosen.name, chosen.fid))) return declined();
    std::error_code ec;
    const std::string error = fs::is_directory(folder, ec) ? deleteFolderUnforced(folder) : std::string();
    catalog.packages = gmap::scanGmapPackages(session);
    if (!error.empty()) {
        session.dialogs.inform(error);
        return alreadyShown();
    }
    return {};
}

}  // namespace veldra::registration
