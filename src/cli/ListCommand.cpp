// `veldra list`: the installed mapsets, registry records first, then gmap packages.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CatalogJson.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "tasks/CatalogTasks.h"
#include "tasks/MapsetChoice.h"

namespace veldra::cli {
namespace {

int runList(CliContext& context) {
    auto& session = context.session();
    auto listed = tasks::listMapsets(session);
    if (!listed) return context.finish(listed);
    const auto& catalog = *listed;
    if (context.options.json) {
        context.out << catalogJson(session, catalog).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return ExitDone;
    }
    for (std::size_t i = 0; i < catalog.registry.size(); ++i) context.out << tasks::catalogLine(catalog, {false, i}) << '\n';
    if (catalog.packages.noPackageFolders) context.err << session.msg(app::Msg::MsgNoGmpMapsets) << '\n';
    for (std::size_t i = 0; i < catalog.packages.records.size(); ++i)
        context.out << tasks::catalogLine(catalog, {true, i}) << '\n';
    return ExitDone;
}

}  // namespace

void addListCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto* sub = app.add_subcommand("list", context.msg(Msg::HelpList));
    sub->callback([&context, &exitCode] { exitCode = runList(context); });
}

}  // namespace veldra::cli
