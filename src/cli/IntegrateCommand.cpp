// `veldra integrate`: a folder of tiles becomes a mapset the host programs list.

#include <filesystem>
#include <ostream>
#include <system_error>

#include <CLI/CLI.hpp>

#include "app/ConsoleWindow.h"
#include "app/MapsetNaming.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "integration/IntegrationDriver.h"
#include "integration/TileSelection.h"
#include "registration/FreieIdNr.h"
#include "registration/InstalledCatalog.h"

namespace veldra::cli {
namespace fs = std::filesystem;
namespace {

struct IntegrateOptions {
    std::string name;
    std::string fid;
    bool registry = false;
    bool gmap = false;
    std::string typ;
    std::vector<std::string> tiles;
};

const char* NotYet = "is not available in this version of veldra yet";

// The chosen tiles, by the same rules as the tile list of the desktop program.
integration::TileSelection chooseTiles(app::Session& session, const std::vector<std::string>& tiles) {
    integration::TileSelection selection(session.dialogs, session.catalog);
    std::optional<fs::path> folder;
    for (const auto& tile : tiles) {
        const fs::path path = fs::absolute(tile);
        if (folder && path.parent_path() != *folder) throw CommandFailed(session.catalog.control("Label1"));
        if (!folder) {
            folder = path.parent_path();
            // Choosing a folder stores it, as the folder list does.
            session.settings.storeDirVerified(folder->string());
        }
        if (!fs::is_regular_file(path)) throw CommandFailed(path.string() + ": no such file");
        selection.addFromFolder(folder->string(), path.filename().string());
    }
    if (selection.chosenFiles().empty()) throw CommandFailed(session.msg(app::Msg::MsgNoFileChosen));
    return selection;
}

app::NamesInUse namesInUse(const registration::InstalledCatalog& catalog) {
    app::NamesInUse inUse;
    for (const auto& r : catalog.registry) {
        // A list shows a name up to its first zero byte.
        inUse.mapsetNames.push_back(r.shownName());
        inUse.registryFids.push_back(r.fid);
    }
    for (const auto& p : catalog.packages.records) inUse.gmapFids.push_back(p.fid);
    return inUse;
}

// A type file given for the mapset lies beside its TDB under the file base name.
void placeTypeFile(const std::string& typ, const fs::path& tileFolder, const std::string& mapsetName) {
    const fs::path target = tileFolder / (integration::fileBaseName(mapsetName) + ".TYP");
    std::error_code ec;
    if (fs::exists(target, ec) && fs::equivalent(typ, target, ec)) return;
    fs::copy_file(typ, target, fs::copy_options::overwrite_existing, ec);
    if (ec) throw CommandFailed("cannot copy " + typ + " to " + target.string() + ": " + ec.message());
}

int runIntegrate(CliContext& context, const IntegrateOptions& options) {
    if (options.gmap) throw CommandFailed("Installing as a gmap package " + std::string(NotYet) + "; use --registry.");
    auto& session = context.session();
    context.requireWritableRegistry();

    auto selection = chooseTiles(session, options.tiles);
    if (selection.gmapsuppSelected())
        throw CommandFailed("Splitting a gmapsupp.img " + std::string(NotYet) + "; integrate its tiles instead.");

    const std::string name = app::validatedMapsetName(options.name, session.dialogs, session.catalog);
    if (name.empty()) throw CommandFailed("The mapset name is empty.");
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    std::string fid = options.fid;
    if (fid.empty()) {
        const auto free = registration::FreieIdNr(session, catalog);
        if (!free) throw CommandFailed("Every FID from 10 to 9999 is in use; give one with --fid.");
        fid = std::to_string(*free);
    }
    const auto inUse = namesInUse(catalog);
    if (app::nameInUse(name, inUse, session.dialogs, session.catalog) ||
        app::fidInUse(fid, inUse, session.dialogs, session.catalog))
        return ExitFailed;
    if (!options.typ.empty()) placeTypeFile(options.typ, fs::path(selection.tileFolder()), name);

    std::vector<fs::path> tiles;
    for (const auto& f : selection.chosenFiles()) tiles.emplace_back(f);
    const fs::path folder = fs::path(selection.tileFolder()).parent_path();
    app::TextConsoleWindow console;
    integration::IntegrationDriver driver(session, *context.backend().processes, console,
                                          [&] { catalog.rebuild(session); });
    const auto choice = options.registry ? integration::InstallChoice::Registry : integration::InstallChoice::Ask;
    const auto outcome = driver.CommandButtonPV({tiles, name, fid, folder}, choice);
    context.out << console.text() << '\n';
    switch (outcome) {
        case integration::IntegrationOutcome::Registered:
            return ExitDone;
        case integration::IntegrationOutcome::GmapPackageChosen:
            throw CommandFailed("Installing as a gmap package " + std::string(NotYet) +
                                "; the TDB and overview map are made, run again with --registry.");
        default:
            return ExitFailed;
    }
}

}  // namespace

void addIntegrateCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto options = std::make_shared<IntegrateOptions>();
    auto* sub = app.add_subcommand("integrate", "Make a mapset of tiles and install it for the host programs");
    sub->add_option("--name", options->name, "Mapset name as the host programs show it")->required();
    sub->add_option("--fid", options->fid, "Family ID (default: the lowest free one)")
        ->check(CLI::Range(1, 65535));
    auto* registry = sub->add_flag("--registry", options->registry, "Install by registry keys");
    sub->add_flag("--gmap", options->gmap, "Install as a gmap package")->excludes(registry);
    sub->add_option("--typ", options->typ, "Type file for the mapset")->check(CLI::ExistingFile);
    sub->add_option("tiles", options->tiles, "Tile files (12345678.img), all in one folder")->required();
    sub->callback([&context, &exitCode, options] { exitCode = runIntegrate(context, *options); });
}

}  // namespace veldra::cli
