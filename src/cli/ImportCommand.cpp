// `veldra import DIR --to DEST`: copies an exported mapset folder into DEST
// and installs it: registry keys for a folder with a `log`, else a gmap
// package with a shortcut in the gmap package folder.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "platform/PathText.h"
#include "tasks/ExportImportTasks.h"

namespace veldra::cli {
namespace {

struct ImportArguments {
    std::string source;
    std::string destination;
    std::string allUsers;  // "yes", "no" or empty: asked
};

int runImport(CliContext& context, const ImportArguments& arguments) {
    tasks::ImportRequest request;
    request.source = platform::pathFromText(arguments.source);
    request.destination = platform::pathFromText(arguments.destination);
    if (!arguments.allUsers.empty()) request.allUsers = arguments.allUsers == "yes";
    const auto imported = tasks::importMapset(context.session(), request);
    if (imported) {
        context.out << platform::pathText(imported->folder) << '\n';
        if (const auto& registered = imported->registered)
            context.out << registered->name << '\t' << registered->fid << '\t' << registered->pid << '\t'
                        << registered->location << '\n';
        if (imported->shortcut) context.out << platform::pathText(*imported->shortcut) << '\n';
    }
    return context.finish(imported);
}

}  // namespace

void addImportCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<ImportArguments>();
    auto* sub = app.add_subcommand("import", context.msg(Msg::HelpImport));
    sub->add_option("DIR", arguments->source, context.msg(Msg::HelpImportDir))->required();
    sub->add_option("--to", arguments->destination, context.msg(Msg::HelpImportTo))->required();
    sub->add_option("--all-users", arguments->allUsers, context.msg(Msg::HelpImportAllUsers))
        ->check(CLI::IsMember({"yes", "no"}));
    sub->callback([&context, &exitCode, arguments] { exitCode = runImport(context, *arguments); });
}

}  // namespace veldra::cli
