// `veldra latitude FID PID [VALUE|--auto|--suggest]` (or MAPSET instead of FID
// PID): the projection latitude the host programs use for one map product.

#include <algorithm>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "tasks/LatitudeTask.h"

namespace veldra::cli {
namespace {

struct LatitudeArguments {
    std::vector<std::string> words;
    std::uint32_t pid = 0;
    CLI::Option* pidOption = nullptr;
    bool automatic = false;
    bool suggest = false;
};

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int usage(CliContext& context, const std::string& text) {
    context.err << text << '\n';
    return ExitUsage;
}

int runLatitude(CliContext& context, const LatitudeArguments& arguments) {
    const auto& words = arguments.words;
    const bool pidGiven = arguments.pidOption->count() > 0;
    tasks::LatitudeTarget target;
    std::size_t valueAt = 1;
    // Two numbers first are an FID and a PID, unless --pid names the product:
    // then the first word is a mapset, by its name or its FID.
    if (!pidGiven && words.size() >= 2 && allDigits(words[0]) && allDigits(words[1])) {
        target.fid = words[0];
        target.pid = words[1];
        valueAt = 2;
    } else {
        target.mapset = tasks::MapsetChoice{words[0], pidGiven ? std::optional(arguments.pid) : std::nullopt};
    }
    if (words.size() > valueAt + 1) return usage(context, context.msg(app::Msg::MsgLatitudeTooManyWords));
    const std::optional<std::string> value =
        words.size() > valueAt ? std::optional(words[valueAt]) : std::nullopt;
    if (value && (arguments.automatic || arguments.suggest))
        return usage(context, context.msg(app::Msg::MsgLatitudeValueWithMode));
    if (value && !tools::parseLatitude(*value))
        return usage(context, context.msg(app::Msg::MsgLatitudeNotDegrees) + "\"" + *value + "\"");

    // Only a mapset looked up in the catalog needs the host registry root.
    auto& session = target.mapset || arguments.suggest ? context.session() : context.sessionWithoutHostRoot();
    const auto shown = value                 ? tasks::setLatitude(session, target, *value)
                       : arguments.automatic ? tasks::setAutomaticLatitude(session, target)
                       : arguments.suggest   ? tasks::setSuggestedLatitude(session, target)
                                             : tasks::showLatitude(session, target);
    if (!shown) return context.finish(shown);
    context.out << *shown << '\n';
    return ExitDone;
}

}  // namespace

void addLatitudeCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<LatitudeArguments>();
    auto* sub = app.add_subcommand("latitude", context.msg(Msg::HelpLatitude));
    sub->add_option("ARGUMENTS", arguments->words, context.msg(Msg::HelpLatitudeArguments))
        ->expected(1, 3)
        ->required();
    arguments->pidOption =
        sub->add_option("--pid", arguments->pid, context.msg(Msg::HelpLatitudePid));
    auto* automatic =
        sub->add_flag("--auto", arguments->automatic, context.msg(Msg::HelpLatitudeAuto));
    sub->add_flag("--suggest", arguments->suggest, context.msg(Msg::HelpLatitudeSuggest))
        ->excludes(automatic);
    sub->callback([&context, &exitCode, arguments] { exitCode = runLatitude(context, *arguments); });
}

}  // namespace veldra::cli
