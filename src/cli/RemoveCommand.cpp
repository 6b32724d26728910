// `veldra remove MAPSET`: removes an installed mapset (registry keys, TDB and
// overview map; or the gmap package folder). The tiles stay.

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "tasks/ManagementTasks.h"

namespace veldra::cli {
namespace {

int runRemove(CliContext& context, const MapsetArgument& argument) {
    return context.finish(tasks::removeMapset(context.session(), argument.choice()));
}
}  // namespace

void addRemoveCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto argument = std::make_shared<MapsetArgument>();
    auto* sub = app.add_subcommand("remove", context.msg(Msg::HelpRemove));
    argument->addTo(sub, context);
    sub->callback([&context, &exitCode, argument] { exitCode = runRemove(context, *argument); });
}

}  // namespace veldra::cli
