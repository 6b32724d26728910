// `veldra fid MAPSET NEW-FID`: gives an installed mapset a new family ID in
// its TDB, index and type file and its registry values or Info.xml, then
// prints the mapset as the catalog, read anew, lists it.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "registration/MapsetSelection.h"
#include "registration/NewFid.h"
#include "tasks/CatalogTasks.h"
#include "tasks/FidChangeTask.h"

namespace veldra::cli {
namespace {

struct FidArguments {
    MapsetArgument target;
    std::string newFid;
};

int runFid(CliContext& context, const FidArguments& arguments) {
    auto& session = context.session();
    const tasks::FidChangeRequest request{arguments.target.choice(), arguments.newFid};
    if (auto changed = tasks::changeFid(session, request); !changed) return context.finish(changed);
    const auto listed = tasks::listMapsets(session);
    if (!listed) return context.finish(listed);
    const auto fid = registration::parseNewFid(arguments.newFid);
    for (const auto entry : registration::matchMapsets(*listed, std::to_string(*fid), arguments.target.pidFilter()))
        context.out << tasks::catalogLine(*listed, entry) << '\n';
    return ExitDone;
}

}  // namespace

void addFidCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<FidArguments>();
    auto* sub = app.add_subcommand("fid", context.msg(Msg::HelpFid));
    arguments->target.addTo(sub, context);
    sub->add_option("NEW-FID", arguments->newFid, context.msg(Msg::HelpFidNew))
        ->required();
    sub->callback([&context, &exitCode, arguments] { exitCode = runFid(context, *arguments); });
}

}  // namespace veldra::cli
