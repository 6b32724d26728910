// `veldra typ MAPSET [FILE]`: attaches the type file FILE to an installed
// mapset or replaces its type file; without FILE, detaches it.

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "platform/PathText.h"
#include "tasks/ManagementTasks.h"

namespace veldra::cli {
namespace {

struct TypArguments {
    MapsetArgument target;
    std::string file;
};

int runTyp(CliContext& context, const TypArguments& arguments) {
    tasks::TypeFileRequest request{arguments.target.choice(), std::nullopt};
    if (!arguments.file.empty()) request.typeFile = platform::pathFromText(arguments.file);
    return context.finish(tasks::changeTypeFile(context.session(), request));
}
}  // namespace

void addTypCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<TypArguments>();
    auto* sub = app.add_subcommand("typ", context.msg(Msg::HelpTyp));
    arguments->target.addTo(sub, context);
    sub->add_option("FILE", arguments->file, context.msg(Msg::HelpTypFile));
    sub->callback([&context, &exitCode, arguments] { exitCode = runTyp(context, *arguments); });
}

}  // namespace veldra::cli
