// A usage error in the user's language: CLI11 words its errors in English, so
// only what they are about (an option, an argument, a value) is taken from
// them, and the sentence comes from the catalog.

#include <string>
#include <string_view>

#include "cli/CliContext.h"
#include "cli/HelpFormatter.h"

namespace veldra::cli {
namespace {

std::string_view before(std::string_view text, std::string_view mark) {
    const auto at = text.find(mark);
    return at == std::string_view::npos ? text : text.substr(0, at);
}

std::string_view after(std::string_view text, std::string_view mark) {
    const auto at = text.rfind(mark);
    return at == std::string_view::npos ? text : text.substr(at + mark.size());
}

}  // namespace

std::string CliContext::usageError(const CLI::Error& error) const {
    using app::Msg;
    using Code = CLI::ExitCodes;
    // The error's name may be the command's; its exit code tells its kind.
    const auto code = static_cast<Code>(error.get_exit_code());
    const std::string_view what = error.what();
    std::string line;
    if (code == Code::RequiredError && what.starts_with("A subcommand")) {
        line = msg(Msg::MsgUsageNoCommand);
    } else if (code == Code::RequiredError && what.ends_with(" is required")) {
        line = msg(Msg::MsgUsageMissing) + argumentName(*this, before(what, " is required"));
    } else if (code == Code::ExtrasError) {
        line = msg(Msg::MsgUsageUnexpected) + std::string(after(what, ": "));
    } else if (code == Code::ValidationError) {
        line = msg(Msg::MsgUsageBadValue) + argumentName(*this, before(what, ": "));
    } else if (code == Code::ConversionError && what.starts_with("The value ")) {
        line = msg(Msg::MsgUsageBadValue) + argumentName(*this, after(what, " for "));
    } else if (what.find("arguments to ") != std::string_view::npos) {
        line = msg(Msg::MsgUsageBadValue) + argumentName(*this, before(after(what, "arguments to "), ","));
    } else if (code == Code::ConversionError || code == Code::ArgumentMismatch) {
        line = msg(Msg::MsgUsageBadValue) + argumentName(*this, before(what, ":"));
    } else if (code == Code::ExcludesError) {
        const std::string_view first = before(what, " excludes ");
        line = msg(Msg::MsgUsageExclusive) + std::string(first) + ", " + std::string(after(what, " excludes "));
    } else {
        line = msg(Msg::MsgUsageInvalid);
    }
    return line + '\n' + msg(Msg::MsgUsageHelpHint) + '\n';
}

}  // namespace veldra::cli
