// `veldra check [--fix]`: what is broken about the installed mapsets; with
// --fix, the safe repairs first. Exit 0 when nothing is left, 1 otherwise.

#include <memory>
#include <ostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "tasks/CheckTask.h"

namespace veldra::cli {
namespace {

using tools::CheckFinding;

std::string sentence(CliContext& context, const CheckFinding& finding) {
    return context.msg(tools::checkKindMessage(finding.kind)) + finding.detail;
}

nlohmann::json findingJson(CliContext& context, const CheckFinding& finding) {
    return {{"kind", tools::checkKindName(finding.kind)}, {"mapset", finding.mapset}, {"fid", finding.fid},
            {"pid", finding.pid},  {"text", sentence(context, finding)},           {"repairable", finding.repairable}};
}

// "<mapset>; FID:<fid>;PID:<pid>: <sentence>", as the catalog lists a mapset;
// the sentence alone when no mapset could be named.
std::string findingLine(CliContext& context, const CheckFinding& finding) {
    if (finding.mapset.empty()) return sentence(context, finding);
    return finding.mapset + "; FID:" + finding.fid + ";PID:" + finding.pid + ": " + sentence(context, finding);
}

int runCheck(CliContext& context, bool fix) {
    const auto checked = tasks::checkInstalledMapsets(context.session(), {fix});
    if (!checked) return context.finish(checked);
    const int exitCode = checked->findings.empty() ? ExitDone : ExitFailed;
    if (context.options.json) {
        auto list = [&](const std::vector<CheckFinding>& findings) {
            nlohmann::json array = nlohmann::json::array();
            for (const CheckFinding& finding : findings) array.push_back(findingJson(context, finding));
            return array;
        };
        const nlohmann::json out{{"repaired", list(checked->repaired)}, {"findings", list(checked->findings)}};
        context.out << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return exitCode;
    }
    for (const CheckFinding& finding : checked->repaired)
        context.out << context.msg(app::Msg::MsgCheckRepaired) << findingLine(context, finding) << '\n';
    for (const CheckFinding& finding : checked->findings)
        context.out << findingLine(context, finding)
                    << (finding.repairable ? context.msg(app::Msg::MsgCheckRepairable) : std::string()) << '\n';
    if (checked->findings.empty()) context.out << context.msg(app::Msg::MsgCheckNoProblems) << '\n';
    return exitCode;
}

}  // namespace

void addCheckCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto fix = std::make_shared<bool>(false);
    auto* sub = app.add_subcommand("check", context.msg(Msg::HelpCheck));
    sub->add_flag("--fix", *fix, context.msg(Msg::HelpCheckFix));
    sub->callback([&context, &exitCode, fix] { exitCode = runCheck(context, *fix); });
}

}  // namespace veldra::cli
