// `veldra remove MAPSET`: removes an installed mapset (registry keys, TDB and
// overview map; or the gmap package folder). The tiles stay.

#include <CLI/CLI.hpp>

#include "cli/CatalogOutput.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "registration/MapsetRemoval.h"

namespace veldra::cli {
namespace {

int runRemove(CliContext& context, const MapsetArgument& argument) {
    auto& session = context.session();
    registration::InstalledCatalog catalog;
    registration::showMapsetsForRemoval(session, *context.backend().processes, catalog);
    const auto entry = chooseMapset(catalog, argument.mapset, argument.pidFilter());
    registration::Outcome outcome;
    if (entry.package) {
        outcome = registration::removeGmapPackage(session, catalog, catalog.packages.records[entry.index]);
    } else {
        context.requireWritableRegistry();
        outcome = registration::removeRegistryMapset(session, catalog, catalog.registry[entry.index]);
    }
    return outcome == registration::Outcome::Done ? ExitDone : ExitFailed;
}

}  // namespace

void addRemoveCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto argument = std::make_shared<MapsetArgument>();
    auto* sub = app.add_subcommand("remove", "Remove an installed mapset (its tiles stay)");
    argument->addTo(sub);
    sub->callback([&context, &exitCode, argument] { exitCode = runRemove(context, *argument); });
}

}  // namespace veldra::cli
