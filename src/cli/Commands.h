#pragma once
// Each subcommand lives in its own file and registers itself here. A command's
// callback stores its exit code in `exitCode`.

namespace CLI {
class App;
}

namespace veldra::cli {

class CliContext;

void addSettingsCommand(CLI::App& app, CliContext& context, int& exitCode);
void addInspectCommand(CLI::App& app, CliContext& context, int& exitCode);
void addListCommand(CLI::App& app, CliContext& context, int& exitCode);
void addFreeFidCommand(CLI::App& app, CliContext& context, int& exitCode);
void addRemoveCommand(CLI::App& app, CliContext& context, int& exitCode);
void addRenameCommand(CLI::App& app, CliContext& context, int& exitCode);
void addTypCommand(CLI::App& app, CliContext& context, int& exitCode);
void addFidCommand(CLI::App& app, CliContext& context, int& exitCode);
void addTilesCommand(CLI::App& app, CliContext& context, int& exitCode);
void addDrawPriorityCommand(CLI::App& app, CliContext& context, int& exitCode);
void addIntegrateCommand(CLI::App& app, CliContext& context, int& exitCode);
void addRegisterCommand(CLI::App& app, CliContext& context, int& exitCode);
void addCacheCommand(CLI::App& app, CliContext& context, int& exitCode);
void addLatitudeCommand(CLI::App& app, CliContext& context, int& exitCode);
void addExportCommand(CLI::App& app, CliContext& context, int& exitCode);
void addImportCommand(CLI::App& app, CliContext& context, int& exitCode);
void addCheckCommand(CLI::App& app, CliContext& context, int& exitCode);

}  // namespace veldra::cli
