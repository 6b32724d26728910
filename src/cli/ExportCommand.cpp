// `veldra export MAPSET [DIR]`: gathers an installed mapset for another
// computer. With DIR the mapset's folder is copied into DIR and gathered
// there; without it, in its own folder.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "platform/PathText.h"
#include "tasks/ExportImportTasks.h"

namespace veldra::cli {
namespace {

struct ExportArguments {
    MapsetArgument target;
    std::string into;
};

int runExport(CliContext& context, const ExportArguments& arguments) {
    tasks::ExportRequest request{arguments.target.choice(), std::nullopt};
    if (!arguments.into.empty()) request.into = platform::pathFromText(arguments.into);
    const auto folder = tasks::exportMapset(context.session(), request);
    if (folder) context.out << platform::pathText(*folder) << '\n';
    return context.finish(folder);
}

}  // namespace

void addExportCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<ExportArguments>();
    auto* sub = app.add_subcommand("export", context.msg(Msg::HelpExport));
    arguments->target.addTo(sub, context);
    sub->add_option("DIR", arguments->into, context.msg(Msg::HelpExportDir));
    sub->callback([&context, &exitCode, arguments] { exitCode = runExport(context, *arguments); });
}

}  // namespace veldra::cli
