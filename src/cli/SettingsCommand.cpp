// `veldra settings`: shows the stored settings; with options, stores them first.

#include <ostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "tasks/SettingsTask.h"

namespace veldra::cli {
namespace {

struct SettingsOptions {
    std::string language;
    std::string os64;
};

int runSettings(CliContext& context, const SettingsOptions& options) {
    auto& session = context.sessionWithoutHostRoot();
    auto& settings = session.settings;
    if (!options.language.empty() || !options.os64.empty()) {
        tasks::SettingsRequest request;
        if (!options.language.empty()) request.language = options.language;
        if (!options.os64.empty()) request.os64 = options.os64 == "yes";
        if (auto stored = tasks::storeSettings(session, request, context.options.language); !stored)
            return context.finish(stored);
    }

    const auto os64 = settings.os64();
    const std::string osText = !os64 ? "" : *os64 ? context.msg(app::Msg::TextOs64) : context.msg(app::Msg::TextOs32);
    if (context.options.json) {
        nlohmann::json data = {{"language", settings.language()},
                               {"wow64", settings.wow64()},
                               {"hostRegistryRoot", os64 ? app::hostRegistryRoot(*os64) : ""},
                               {"dir", settings.dir()},
                               {"lastDir", settings.lastDir()},
                               {"prefix", context.backend().prefix.string()}};
        context.out << data.dump(2) << '\n';
        return ExitDone;
    }
    // The stored "wahr"/"falsch" is shown as the user's yes or no.
    const std::string wow64 = !os64 ? settings.wow64() : context.msg(*os64 ? app::Msg::TextYes : app::Msg::TextNo);
    context.out << context.msg(app::Msg::TextSettingsPrefix) << context.backend().prefix.string() << '\n'
                << context.msg(app::Msg::TextSettingsLanguage) << settings.language() << '\n'
                << "Wow64: " << wow64 << (osText.empty() ? "" : " (" + osText + ")") << '\n'
                << context.msg(app::Msg::TextSettingsHostRoot) << (os64 ? "HKLM\\" + app::hostRegistryRoot(*os64) : "")
                << '\n'
                << "Dir: " << settings.dir() << '\n'
                << "LastDir: " << settings.lastDir() << '\n';
    return ExitDone;
}

}  // namespace

void addSettingsCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto options = std::make_shared<SettingsOptions>();
    auto* sub = app.add_subcommand("settings", context.msg(Msg::HelpSettings));
    sub->add_option("--language", options->language, context.msg(Msg::HelpSettingsLanguage))->transform(languageName());
    sub->add_option("--os64", options->os64, context.msg(Msg::HelpSettingsOs64))
        ->check(CLI::IsMember({"yes", "no"}));
    sub->callback([&context, &exitCode, options] { exitCode = runSettings(context, *options); });
}

}  // namespace veldra::cli
