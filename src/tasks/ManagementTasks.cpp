#include "tasks/ManagementTasks.h"

#include "app/RegistryEdit.h"
#include "platform/PathText.h"
#include "registration/MapsetRemoval.h"
#include "registration/MapsetRename.h"
#include "registration/PackageTypeFile.h"
#include "registration/RegistryTypeFile.h"
#include "registration/TypeFileNames.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {
namespace fs = std::filesystem;
namespace {

struct Chosen {
    registration::InstalledCatalog catalog;
    registration::CatalogEntry entry;
};

Result<Chosen> readAndChoose(app::Session& session, const MapsetChoice& choice) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    Chosen chosen;
    chosen.catalog.rebuild(session);
    auto entry = chooseMapset(chosen.catalog, choice);
    if (!entry) return entry.failure();
    chosen.entry = *entry;
    return chosen;
}

}  // namespace

Result<registration::InstalledCatalog> listMapsetsForRemoval(app::Session& session) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    registration::InstalledCatalog catalog;
    registration::showMapsetsForRemoval(session, session.host.processes, catalog);
    return catalog;
}

Status removeMapset(app::Session& session, const MapsetChoice& choice) {
    if (auto readable = registryReadable(session); !readable) return readable;
    registration::InstalledCatalog catalog;
    registration::showMapsetsForRemoval(session, session.host.processes, catalog);
    const auto entry = chooseMapset(catalog, choice);
    if (!entry) return entry.failure();
    if (entry->package) {
        // Removal takes the package folder, which the description cannot lead elsewhere.
        return registration::removeGmapPackage(session, catalog, catalog.packages.records[entry->index]);
    }
    return registration::removeRegistryMapset(session, catalog, catalog.registry[entry->index]);
}

Status renameMapset(app::Session& session, const RenameRequest& request) {
    const auto name = registration::checkNewMapsetName(session, request.newName);
    if (name.refused) return alreadyShown();
    if (name.name.empty()) return fail(Msg::MsgNewNameEmpty);
    auto chosen = readAndChoose(session, request.mapset);
    if (!chosen) return chosen.failure();
    auto& catalog = chosen->catalog;
    const auto entry = chosen->entry;
    if (entry.package) {
        return registration::renameGmapPackage(session, catalog, catalog.packages.records[entry.index], name.name);
    }
    return registration::renameRegistryMapset(session, catalog, catalog.registry[entry.index], name.name);
}

Status changeTypeFile(app::Session& session, const TypeFileRequest& request) {
    std::optional<fs::path> typeFile;
    if (request.typeFile) {
        typeFile = fs::absolute(*request.typeFile);
        std::error_code ec;
        if (!fs::is_regular_file(*typeFile, ec)) return fail(Msg::MsgNoSuchFile, platform::pathText(*request.typeFile));
        if (!registration::isTypeFile(typeFile))
            return fail(Msg::MsgNotTypeFileName, platform::pathText(*request.typeFile));
        if (auto content = registration::checkTypeFileContent(*typeFile); !content) return content;
    }
    auto chosen = readAndChoose(session, request.mapset);
    if (!chosen) return chosen.failure();
    const auto entry = chosen->entry;
    if (entry.package) {
        return registration::changePackageTypeFile(session, chosen->catalog.packages.records[entry.index], typeFile);
    }
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    std::vector<fs::path> superseded;
    if (auto changed =
            registration::changeRegistryTypeFile(session, chosen->catalog.registry[entry.index], typeFile, superseded);
        !changed)
        return changed;
    if (auto committed = edit->commit(); !committed) return committed;
    // No key names the old type file any more; its copy is the ".bak".
    for (const fs::path& file : superseded) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
    return {};
}

}  // namespace veldra::tasks
