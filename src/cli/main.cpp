// `veldra`: every task of VELDRA from the command line.

#include <iostream>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/HelpFormatter.h"
#include "platform/Terminal.h"

int main(int argc, char** argv) {
    using namespace veldra::cli;
    using veldra::Msg;
    GlobalOptions options;
    CliContext context(options, std::cout, std::cerr);
    // Help texts and usage errors are in the chosen language too.
    context.chooseLanguage(argc, argv);

    CLI::App app{context.msg(Msg::HelpProgram)};
    useCatalogHelp(app, context);
    app.set_help_flag("-h,--help", context.msg(Msg::HelpHelp));
    app.set_version_flag("--version", std::string("veldra ") + VELDRA_VERSION, context.msg(Msg::HelpVersion));
    app.failure_message([&context](const CLI::App*, const CLI::Error& error) { return context.usageError(error); });
    app.require_subcommand(1);
    // Options are written --name everywhere: on Windows a word starting with "/" is a path too.
    app.allow_windows_style_options(false);

    app.add_option("--prefix", options.prefix, context.msg(Msg::HelpPrefix));
    app.add_option("--lang", options.language, context.msg(Msg::HelpLang))->transform(languageName());
    auto* yes = app.add_flag("--yes", options.yes, context.msg(Msg::HelpYes));
    app.add_flag("--no", options.no, context.msg(Msg::HelpNo))->excludes(yes);
    app.add_flag("--json", options.json, context.msg(Msg::HelpJson));
    app.add_flag("--verbose", options.verbose, context.msg(Msg::HelpVerbose));

    int exitCode = ExitDone;
    addSettingsCommand(app, context, exitCode);
    addListCommand(app, context, exitCode);
    addFreeFidCommand(app, context, exitCode);
    addRemoveCommand(app, context, exitCode);
    addRenameCommand(app, context, exitCode);
    addTypCommand(app, context, exitCode);
    addFidCommand(app, context, exitCode);
    addTilesCommand(app, context, exitCode);
    addDrawPriorityCommand(app, context, exitCode);
    addIntegrateCommand(app, context, exitCode);
    addRegisterCommand(app, context, exitCode);
    addCacheCommand(app, context, exitCode);
    addLatitudeCommand(app, context, exitCode);
    addExportCommand(app, context, exitCode);
    addImportCommand(app, context, exitCode);
    addCheckCommand(app, context, exitCode);
    addInspectCommand(app, context, exitCode);
    // Global options may follow the command too.
    for (auto* sub : app.get_subcommands({})) sub->fallthrough();

    try {
        // Each command's callback runs once the whole line is parsed; every argument as UTF-8.
        veldra::platform::useUtf8Console();
        auto arguments = veldra::platform::utf8Arguments(argc, argv);
        std::vector<char*> utf8Argv;
        for (auto& argument : arguments) utf8Argv.push_back(argument.data());
        app.parse(static_cast<int>(utf8Argv.size()), utf8Argv.data());
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? ExitDone : ExitUsage;
    } catch (const UnansweredQuestion& e) {
        std::cerr << e.what() << '\n';
        return ExitFailed;
    } catch (const CommandFailed& e) {
        std::cerr << e.what() << '\n';
        return ExitFailed;
    } catch (const std::exception& e) {
        // Nothing may end the program on the way: whatever escaped a task is reported.
        std::cerr << "veldra: " << e.what() << '\n';
        return ExitFailed;
    } catch (...) {
        std::cerr << "veldra: " << context.msg(Msg::MsgUnexpectedError) << '\n';
        return ExitFailed;
    }
    return exitCode;
}
