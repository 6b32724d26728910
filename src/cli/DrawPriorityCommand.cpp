// `veldra draw-priority MAPSET VALUE`: sets one draw priority in every tile of
// an installed mapset.

#include <string>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "tasks/TileTasks.h"

namespace veldra::cli {
namespace {

struct DrawPriorityArguments {
    MapsetArgument target;
    std::string value;
};

}  // namespace

void addDrawPriorityCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<DrawPriorityArguments>();
    auto* sub = app.add_subcommand("draw-priority", context.msg(Msg::HelpDrawPriority));
    arguments->target.addTo(sub, context);
    sub->add_option("VALUE", arguments->value, context.msg(Msg::HelpDrawPriorityValue))
        ->required();
    sub->callback([&context, &exitCode, arguments] {
        exitCode = context.finish(
            tasks::changeDrawPriority(context.session(), {arguments->target.choice(), arguments->value}));
    });
}

}  // namespace veldra::cli
