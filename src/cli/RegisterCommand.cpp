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
    sub->add_option("--tdb", options->tdb, "The mapset's TDB file")->required();
    sub->add_option("--overview", options->overview, "The overview map (.img)")->required();
    sub->add_option("--tiles", options->tiles, "The folder of the tiles (default: the TDB's folder)");
    sub->add_option("--mdx", options->mdx, "Index file (.mdx)");
    sub->add_option("--mdr", options->mdr, "MDR index file (_mdr.img)");
    sub->add_option("--typ", options->typ, "Type file (.typ)");
    sub->add_option("--trf", options->trf, "Traffic file (.trf)");
    sub->add_option("--name", options->name, "Mapset name (default: the TDB's)");
    sub->add_option("--fid", options->fid, "Family ID (default: the TDB's)");
    sub->add_option("--pid", options->pid, "Product ID (default: the TDB's)");
    sub->add_flag("--gmap", options->gmap, "Install as a gmap package instead of registry keys");
    sub->callback([&context, &exitCode, options] { exitCode = runRegister(context, *options); });
}

}  // namespace veldra::cli
