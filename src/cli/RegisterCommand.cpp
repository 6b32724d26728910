// `veldra register`: a mapset that brings its TDB and overview map along is
// installed as it stands, by registry keys or as a gmap package.

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "platform/PathText.h"
#include "tasks/RegisterExistingTask.h"

namespace veldra::cli {
namespace {

struct RegisterOptions {
    std::string tdb, overview, tiles, mdx, mdr, typ, trf;
    std::string name, fid, pid;
    bool gmap = false;
};

std::optional<std::filesystem::path> optionalPath(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return platform::pathFromText(text);
}

int runRegister(CliContext& context, const RegisterOptions& options) {
    tasks::RegisterExistingRequest request;
    auto& mapset = request.mapset;
    mapset.tdb = platform::pathFromText(options.tdb);
    mapset.overviewMap = platform::pathFromText(options.overview);
    // The tiles lie beside the TDB unless said otherwise.
    mapset.tilesFolder = options.tiles.empty() ? std::filesystem::absolute(mapset.tdb).parent_path()
                                               : platform::pathFromText(options.tiles);
    mapset.indexFile = optionalPath(options.mdx);
    mapset.mdrFile = optionalPath(options.mdr);
    mapset.typeFile = optionalPath(options.typ);
    mapset.trafficFile = optionalPath(options.trf);
    mapset.name = options.name;
    mapset.fid = options.fid;
    mapset.pid = options.pid;
    request.install = options.gmap ? existing::ExistingInstall::GmapPackage : existing::ExistingInstall::Registry;
    const auto registered = tasks::registerExisting(context.session(), request);
    if (registered)
        context.out << registered->name << '\t' << registered->fid << '\t' << registered->pid << '\t'
                    << registered->location << '\n';
    return context.finish(registered);
}

}  // namespace

void addRegisterCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto options = std::make_shared<RegisterOptions>();
    auto* sub = app.add_subcommand("register", context.msg(Msg::HelpRegister));
    sub->add_option("--tdb", options->tdb, context.msg(Msg::HelpRegisterTdb))->required();
    sub->add_option("--overview", options->overview, context.msg(Msg::HelpRegisterOverview))->required();
    sub->add_option("--tiles", options->tiles, context.msg(Msg::HelpRegisterTiles));
    sub->add_option("--mdx", options->mdx, context.msg(Msg::HelpRegisterMdx));
    sub->add_option("--mdr", options->mdr, context.msg(Msg::HelpRegisterMdr));
    sub->add_option("--typ", options->typ, context.msg(Msg::HelpRegisterTyp));
    sub->add_option("--trf", options->trf, context.msg(Msg::HelpRegisterTrf));
    sub->add_option("--name", options->name, context.msg(Msg::HelpRegisterName));
    sub->add_option("--fid", options->fid, context.msg(Msg::HelpRegisterFid));
    sub->add_option("--pid", options->pid, context.msg(Msg::HelpRegisterPid));
    sub->add_flag("--gmap", options->gmap, context.msg(Msg::HelpRegisterGmap));
    sub->callback([&context, &exitCode, options] { exitCode = runRegister(context, *options); });
}

}  // namespace veldra::cli
