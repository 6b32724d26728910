// `veldra rename MAPSET NEW-NAME`: gives an installed mapset a new name inside
// its TDB (keeping "<tdb>-BAK") and, for a gmap package, in its Info.xml.

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "tasks/ManagementTasks.h"

namespace veldra::cli {
namespace {

struct RenameArguments {
    MapsetArgument target;
    std::string newName;
};

int runRename(CliContext& context, const RenameArguments& arguments) {
    return context.finish(
        tasks::renameMapset(context.session(), {arguments.target.choice(), arguments.newName}));
}
}  // namespace

void addRenameCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<RenameArguments>();
    auto* sub = app.add_subcommand("rename", context.msg(Msg::HelpRename));
    arguments->target.addTo(sub, context);
    sub->add_option("NEW-NAME", arguments->newName, context.msg(Msg::HelpRenameNewName))
        ->required();
    sub->callback([&context, &exitCode, arguments] { exitCode = runRename(context, *arguments); });
}

}  // namespace veldra::cli
