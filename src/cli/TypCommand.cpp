// `veldra typ MAPSET [FILE]`: attaches the type file FILE to an installed
// mapset or replaces its type file; without FILE, detaches it.

#include <filesystem>

#include <CLI/CLI.hpp>

#include "cli/CatalogOutput.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "formats/PathText.h"
#include "registration/PackageTypeFile.h"
#include "registration/RegistryTypeFile.h"
#include "registration/TypeFileNames.h"

namespace veldra::cli {
namespace {

struct TypArguments {
    MapsetArgument target;
    std::string file;
};

int runTyp(CliContext& context, const TypArguments& arguments) {
    std::optional<std::filesystem::path> chosen;
    if (!arguments.file.empty()) {
        chosen = std::filesystem::absolute(formats::pathFromText(arguments.file));
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*chosen, ec)) throw CommandFailed("No such file: " + arguments.file);
        if (!registration::isTypeFile(chosen)) {
            context.err << "FILE must be a type file (extension .typ): " << arguments.file << '\n';
            return ExitUsage;
        }
    }
    auto& session = context.session();
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, arguments.target.mapset, arguments.target.pidFilter());
    registration::Outcome outcome;
    if (entry.package) {
        outcome = registration::changePackageTypeFile(session, catalog.packages.records[entry.index], chosen);
    } else {
        context.requireWritableRegistry();
        outcome = registration::changeRegistryTypeFile(session, catalog.registry[entry.index], chosen);
    }
    return outcome == registration::Outcome::Done ? ExitDone : ExitFailed;
}

}  // namespace

void addTypCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto arguments = std::make_shared<TypArguments>();
    auto* sub = app.add_subcommand("typ", "Attach or replace a mapset's type file; without FILE, detach it");
    arguments->target.addTo(sub);
    sub->add_option("FILE", arguments->file, "The type file (.typ) to attach");
    sub->callback([&context, &exitCode, arguments] { exitCode = runTyp(context, *arguments); });
}

}  // namespace veldra::cli
