// `veldra`: every task of VELDRA from the command line.

#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
    using namespace veldra::cli;
    CLI::App app{"VELDRA: install and manage Garmin vector mapsets for MapSource, BaseCamp and MapInstall"};
    app.set_version_flag("--version", std::string("veldra ") + VELDRA_VERSION);
    app.require_subcommand(1);

    GlobalOptions options;
    app.add_option("--prefix", options.prefix, "Wine prefix of the host programs (default: $WINEPREFIX, else VELDRA's own)");
    app.add_option("--lang", options.language, "Language of the messages for this run (Deu or Eng)")
        ->transform(languageName());
    auto* yes = app.add_flag("--yes", options.yes, "Answer every question with yes");
    app.add_flag("--no", options.no, "Answer every question with no")->excludes(yes);
    app.add_flag("--json", options.json, "Print lists as JSON");

    CliContext context(options, std::cout, std::cerr);
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
    addInspectCommand(app, context, exitCode);
    // Global options may follow the command too.
    for (auto* sub : app.get_subcommands({})) sub->fallthrough();

    try {
        // Each command's callback runs once the whole line is parsed.
        app.parse(argc, argv);
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
        std::cerr << "veldra: an unexpected error ended the command\n";
        return ExitFailed;
    }
    return exitCode;
}
