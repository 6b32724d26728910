// `veldra rename MAPSET NEW-NAME`: gives an installed mapset a new name inside
// its TDB (keeping "<tdb>-BAK") and, for a gmap package, in its Info.xml.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CatalogOutput.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "registration/MapsetRename.h"

namespace veldra::cli {
namespace {

struct RenameArguments {
    MapsetArgument target;
    std::string newName;
};

int runRename(CliContext& context, const RenameArguments& arguments) {
    auto& session = context.session();
    const auto name = registration::checkNewMapsetName(session, arguments.newName);
    if (name.refused) return ExitFailed;
    if (name.name.empty()) throw CommandFailed("The new name is empty.");
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, arguments.target.mapset, arguments.target.pidFilter());
    const auto result = entry.package
                            ? registration::renameGmapPackage(session, catalog, catalog.packages.records[entry.index],
                                                              name.name)
                            : registration::renameRegistryMapset(session, catalog, catalog.registry[entry.index],
                                                                 name.name);
    if (!result.error.empty()) context.err << result.error << '\n';
    return result.outcome == formats::RenameOutcome::Renamed ? ExitDone : ExitFailed;
}

}  // namespace

void addRenameCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<RenameArguments>();
    auto* sub = app.add_subcommand("rename", "Give an installed mapset a new name");
    arguments->target.addTo(sub);
    sub->add_option("NEW-NAME", arguments->newName, "The new name (characters A-Z, a-z, 0-9 and the like)")
        ->required();
    sub->callback([&context, &exitCode, arguments] { exitCode = runRename(context, *arguments); });
}

}  // namespace veldra::cli
