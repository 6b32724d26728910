// `veldra free-fid`: the lowest family ID from 10 to 9999 that no installed mapset uses.

#include <ostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "tasks/CatalogTasks.h"

namespace veldra::cli {
namespace {

int runFreeFid(CliContext& context) {
    const auto fid = tasks::findFreeFid(context.session());
    if (!fid) return context.finish(fid);
    if (context.options.json) context.out << nlohmann::json{{"fid", *fid}}.dump() << '\n';
    else context.out << *fid << '\n';
    return ExitDone;
}

}  // namespace

void addFreeFidCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto* sub = app.add_subcommand("free-fid", context.msg(Msg::HelpFreeFid));
    sub->callback([&context, &exitCode] { exitCode = runFreeFid(context); });
}

}  // namespace veldra::cli
