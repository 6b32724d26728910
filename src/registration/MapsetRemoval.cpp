#include "registration/MapsetRemoval.h"

#include <filesystem>

#include "gmap/GMPFileslisten.h"
#include "registration/DoppelteFID.h"
#include "registration/FolderDeletion.h"
#include "registration/HostFiles.h"
#include "registration/TDBlesen.h"
#include "tools/AccessRights.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// Same wording in both languages.
constexpr const char* AccessRefused = "Zugriff verweigert, close MapSource first";

// Deletes the family's product subkey, then the family key when no more than
// `keepBelow` - 1 subkeys remain (the registry refuses to delete a key that
// still has subkeys).
void deleteFamilyProduct(app::Session& session, RecordKind kind, const std::string& subkey, std::size_t keepBelow) {
    const std::string branch = branchKey(session, kind);
    session.routines.fSchluesselLoeschen(Machine, branch + subkey);
    const std::string familyKey = branch + subkey.substr(0, subkey.find('\\'));
    const auto remaining = session.host.registry.subkeyNames(Machine, familyKey).size();
    if (remaining < keepBelow) session.routines.fSchluesselLoeschen(Machine, familyKey);
}

// Deletes the file behind a host path when it exists; true when that was refused.
bool deleteRefused(const app::Session& session, const std::string& hostPath) {
    if (!hostFileExists(session, hostPath)) return false;
    std::error_code ec;
    fs::remove(session.host.paths.toNative(hostPath), ec);
    return ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
}

}  // namespace

void showMapsetsForRemoval(app::Session& session, platform::Processes& processes, InstalledCatalog& catalog) {
    tools::SetRegistryRights(session, processes, tools::garminRegistryKeyForSetAcl(session), session.userName);
    session.dialogs.processEvents();
    catalog.rebuild(session);
    DoppelteFID(session.dialogs, catalog);
}

Outcome removeRegistryMapset(app::Session& session, InstalledCatalog& catalog, const RegistryRecord& chosen) {
    const RegistryRecord record = chosen;  // the catalog is rebuilt below
    if (session.dialogs.show({session.msg(app::Msg::MsgConfirmRemoveMapset), app::DefaultTitle,
                              app::MessageIcon::None, app::MessageButtons::OkCancel}) != app::MessageAnswer::Ok)
        return Outcome::Declined;

    switch (record.kind) {
        case RecordKind::Families: deleteFamilyProduct(session, record.kind, record.subkey, 1); break;
        case RecordKind::FamiliesNT: deleteFamilyProduct(session, record.kind, record.subkey, 2); break;
        case RecordKind::Products:
            session.routines.fSchluesselLoeschen(Machine, branchKey(session, RecordKind::Products) + record.subkey);
            break;
    }
    const bool tdbRefused = deleteRefused(session, record.tdb);
    const bool overviewRefused = deleteRefused(session, record.overview);
    catalog.registry = TDBlesen(session);
    if (tdbRefused || overviewRefused) {
        session.dialogs.inform(AccessRefused);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome removeGmapPackage(app::Session& session, InstalledCatalog& catalog, const gmap::GmapRecord& chosen) {
    const fs::path folder = chosen.packageFolder();
    if (!session.dialogs.ask(session.msg(app::Msg::MsgConfirmRemoveMapset))) return Outcome::Declined;
    std::error_code ec;
    const std::string error = fs::is_directory(folder, ec) ? deleteFolderUnforced(folder) : std::string();
    catalog.packages = gmap::GMPFileslisten(session);
    if (!error.empty()) {
        session.dialogs.inform(error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

}  // namespace veldra::registration
