#include "tasks/IntegrateTask.h"

#include <system_error>

#include "app/MapsetNaming.h"
#include "app/RegistryEdit.h"
#include "integration/TileSelection.h"
#include "formats/TypStamp.h"
#include "registration/FreeFid.h"
#include "registration/NumberText.h"
#include "registration/TypeFileNames.h"
#include "platform/PathText.h"
#include "registration/InstalledCatalog.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {
namespace fs = std::filesystem;
namespace {

// The chosen tiles, by the same rules as the tile list of the desktop program.
Result<integration::TileSelection> chooseTiles(app::Session& session, const std::vector<fs::path>& tiles) {
    integration::TileSelection selection(session.dialogs, session.catalog);
    std::optional<fs::path> folder;
    for (const auto& tile : tiles) {
        const fs::path path = fs::absolute(tile);
        if (folder && path.parent_path() != *folder) return fail(session.catalog.control("Label1"));
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) return fail(Msg::MsgNoSuchFile, platform::pathText(tile));
        if (!folder) {
            folder = path.parent_path();
            // Choosing a folder stores it, as the folder list does.
            if (auto stored = session.settings.storeDirVerified(folder->string()); !stored) return stored.failure();
        }
        selection.addFromFolder(folder->string(), path.filename().string());
    }
    if (selection.chosenFiles().empty()) return fail(Msg::MsgNoFileChosen);
    return selection;
}

// A type file given for the mapset lies beside its TDB under the file base
// name, stamped with the mapset's FID as every attached type file is.
Status placeTypeFile(const fs::path& typ, const fs::path& tileFolder, const std::string& mapsetName,
                     std::uint16_t fid) {
    const fs::path target = tileFolder / (integration::fileBaseName(mapsetName) + ".TYP");
    std::error_code ec;
    if (!fs::is_regular_file(typ, ec)) return fail(Msg::MsgNoSuchFile, platform::pathText(typ));
    if (auto content = registration::checkTypeFileContent(typ); !content) return content;
    if (fs::exists(target, ec) && fs::equivalent(typ, target, ec)) {
        const auto stamped = formats::writeTypFid(target, fid);
        return stamped ? Status{} : fail(stamped.error);
    }
    if (auto copied = formats::writeStampedTypCopy(typ, target, fid); !copied)
        return fail("Cannot copy " + typ.string() + " to " + target.string() + ": " + copied.error);
    return {};
}

// The mapset's files are named by the first eight characters of its name: a
// second mapset whose name begins alike would overwrite the files another
// registration points at.
Status checkFilesAreFree(app::Session& session, const registration::InstalledCatalog& catalog,
                         const fs::path& tileFolder, const std::string& name) {
    const std::string base = integration::fileBaseName(name);
    for (const char* extension : {".tdb", ".img"}) {
        const fs::path mine = tileFolder / (base + extension);
        for (const auto& record : catalog.registry) {
            std::error_code ec;
            for (const auto& hostPath : {record.tdb, record.overview}) {
                if (hostPath.empty() || !fs::equivalent(session.host.paths.toNative(hostPath), mine, ec)) continue;
                session.setCatalogContext({tileFolder.string(), base, session.host.programFolder.string()});
                return fail(Msg::MsgImgExists);
            }
        }
    }
    return {};
}

Status installed(const integration::IntegrationResult& result) {
    switch (result.outcome) {
        case integration::IntegrationOutcome::Registered:
        case integration::IntegrationOutcome::GmapPackageWritten: return {};
        case integration::IntegrationOutcome::RegistryWriteFailed:
        case integration::IntegrationOutcome::GmapPackageFailed:
            return result.failure.kind == FailureKind::Error ? result.failure : alreadyShown();
        default: return alreadyShown();
    }
}

std::optional<existing::ExistingInstall> existingInstall(integration::InstallChoice choice) {
    switch (choice) {
        case integration::InstallChoice::GmapPackage: return existing::ExistingInstall::GmapPackage;
        case integration::InstallChoice::Registry: return existing::ExistingInstall::Registry;
        default: return std::nullopt;
    }
}

// A device image brings its names and FIDs along: each mapset in it is
// registered as it stands, or with a free FID when the user says so.
Result<IntegrateReport> integrateGmapsupp(app::Session& session, const IntegrateRequest& request,
                                          const fs::path& gmapsupp, app::ConsoleWindow& console,
                                          app::RegistryEdit& edit) {
    registration::InstalledCatalog catalog;
    integration::IntegrationDriver driver(session, session.host.processes, console,
                                          [&] { catalog.rebuild(session); });
    auto split = driver.splitDeviceImage(gmapsupp, {request.keepFid, existingInstall(request.install)});
    if (!split) return split.failure();
    if (split->registered.empty() && split->bareTiles.empty())
        return split->failures.empty() ? alreadyShown() : Result<IntegrateReport>(split->failures.front());
    if (auto committed = edit.commit(); !committed) return committed.failure();
    return IntegrateReport{{}, std::move(split->registered), std::move(split->bareTiles)};
}

}  // namespace

Result<IntegrateReport> integrateTiles(app::Session& session, const IntegrateRequest& request,
                                       app::ConsoleWindow& console) {
    if (auto named = app::checkGivenMapsetName(request.name); !named) return named.failure();
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();

    auto selection = chooseTiles(session, request.tiles);
    if (!selection) return selection.failure();
    if (selection->gmapsuppSelected())
        return integrateGmapsupp(session, request, selection->chosenFiles().front(), console, *edit);
    if (request.name.empty()) return fail(Msg::MsgMapsetNameEmpty);

    const std::string& name = request.name;
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    std::string fid = request.fid;
    if (fid.empty()) {
        const auto free = registration::lowestFreeFid(session, catalog);
        if (!free) return fail(Msg::MsgEveryFidInUse);
        fid = std::to_string(*free);
    }
    const auto inUse = namesInUse(catalog);
    if (app::nameInUse(name, inUse, session.dialogs, session.catalog) ||
        app::fidInUse(fid, inUse, session.dialogs, session.catalog))
        return alreadyShown();
    const fs::path tileFolder(selection->tileFolder());
    if (auto free = checkFilesAreFree(session, catalog, tileFolder, name); !free) return free.failure();
    if (request.typeFile)
        if (auto placed = placeTypeFile(*request.typeFile, tileFolder, name,
                                                  static_cast<std::uint16_t>(registration::leadingNumber(fid))); !placed)
            return placed.failure();

    std::vector<fs::path> tiles;
    for (const auto& f : selection->chosenFiles()) tiles.emplace_back(f);
    const fs::path folder = tileFolder.parent_path();
    integration::IntegrationDriver driver(session, session.host.processes, console,
                                          [&] { catalog.rebuild(session); });
    if (auto done = installed(driver.run({tiles, name, fid, folder}, request.install)); !done) return done.failure();
    if (auto committed = edit->commit(); !committed) return committed.failure();
    return IntegrateReport{fid, {}, {}};
}

}  // namespace veldra::tasks
