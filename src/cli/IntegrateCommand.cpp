// `veldra integrate`: a folder of tiles, or the mapsets of a gmapsupp.img,
// become mapsets the host programs list.

#include <ostream>

#include <CLI/CLI.hpp>

#include "app/ConsoleWindow.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "platform/PathText.h"
#include "tasks/IntegrateTask.h"

namespace veldra::cli {
namespace {

struct IntegrateOptions {
    std::string name;
    std::string fid;
    bool registry = false;
    bool gmap = false;
    bool keepFid = false;
    bool newFid = false;
    std::string typ;
    std::vector<std::string> tiles;
};

int runIntegrate(CliContext& context, const IntegrateOptions& options) {
    auto& session = context.session();
    tasks::IntegrateRequest request;
    for (const auto& tile : options.tiles) request.tiles.push_back(platform::pathFromText(tile));
    request.name = options.name;
    request.fid = options.fid;
    request.install = options.registry ? integration::InstallChoice::Registry
                      : options.gmap   ? integration::InstallChoice::GmapPackage
                                       : integration::InstallChoice::Ask;
    if (!options.typ.empty()) request.typeFile = platform::pathFromText(options.typ);
    if (options.keepFid || options.newFid) request.keepFid = options.keepFid;
    app::TextConsoleWindow console;
    const auto integrated = tasks::integrateTiles(session, request, console);
    // The outside programs' own lines are for those who ask for them, and
    // the reason when a step failed.
    const bool failed = !integrated && integrated.failure().kind != FailureKind::Declined;
    if ((context.options.verbose || failed) && !console.text().empty())
        context.err << console.text() << (console.text().ends_with('\n') ? "" : "\n");
    if (integrated) {
        for (const auto& mapset : integrated->registered)
            context.out << mapset.name << '\t' << mapset.fid << '\t' << mapset.pid << '\t' << mapset.location << '\n';
        for (const auto& tile : integrated->bareTiles) context.out << platform::pathText(tile) << '\n';
    }
    return context.finish(integrated);
}

}  // namespace

void addIntegrateCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto options = std::make_shared<IntegrateOptions>();
    auto* sub = app.add_subcommand("integrate", context.msg(Msg::HelpIntegrate));
    sub->add_option("--name", options->name, context.msg(Msg::HelpIntegrateName));
    sub->add_option("--fid", options->fid, context.msg(Msg::HelpIntegrateFid))
        ->check(CLI::Range(1, 65535));
    auto* registry = sub->add_flag("--registry", options->registry, context.msg(Msg::HelpIntegrateRegistry));
    sub->add_flag("--gmap", options->gmap, context.msg(Msg::HelpIntegrateGmap))->excludes(registry);
    sub->add_option("--typ", options->typ, context.msg(Msg::HelpIntegrateTyp))->check(CLI::ExistingFile);
    auto* keep = sub->add_flag("--keep-fid", options->keepFid, context.msg(Msg::HelpIntegrateKeepFid));
    sub->add_flag("--new-fid", options->newFid, context.msg(Msg::HelpIntegrateNewFid))->excludes(keep);
    sub->add_option("tiles", options->tiles, context.msg(Msg::HelpIntegrateTiles))
        ->required();
    sub->callback([&context, &exitCode, options] { exitCode = runIntegrate(context, *options); });
}

}  // namespace veldra::cli
