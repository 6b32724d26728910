// `veldra tiles MAPSET`: the tiles an installed mapset's TDB names, each with
// its description, file and draw priority.

#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/MapsetArgument.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "tasks/TileTasks.h"

namespace veldra::cli {
namespace {

// Paths as this computer names them (the registry's host paths converted);
// null where there is no path: a registry mapset without a tile folder.
nlohmann::json shownPath(const std::filesystem::path& path) {
    return path.empty() ? nlohmann::json() : nlohmann::json(platform::pathText(path));
}

nlohmann::json tilesJson(const registration::TileListing& listing) {
    auto tiles = nlohmann::json::array();
    for (const auto& listed : listing.tiles) {
        const auto drawPriority = listed.lastDrawPriority();
        tiles.push_back({{"number", listed.tile.number},
                         {"name", formats::tileFileName(listed.tile.number)},
                         {"description", platform::cp1252ToUtf8(listed.tile.description)},
                         {"file", shownPath(listed.location)},
                         {"drawPriority", drawPriority ? nlohmann::json(*drawPriority) : nlohmann::json()},
                         {"line", listing.line(listed)}});
    }
    return {{"kind", listing.kind == registration::TileKind::Img ? "IMG" : "GMP"},
            {"folder", shownPath(listing.folder)},
            {"tiles", tiles}};
}

int runTiles(CliContext& context, const MapsetArgument& target) {
    auto& session = context.session();
    const auto listed = tasks::listTiles(session, target.choice());
    if (!listed) return context.finish(listed);
    if (context.options.json) {
        const auto json = tilesJson(*listed);
        context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return ExitDone;
    }
    // As the tile list window: the folder above the list lines.
    context.out << platform::pathText(listed->folder) << '\n';
    for (const auto& tile : listed->tiles) context.out << listed->line(tile) << '\n';
    return ExitDone;
}

}  // namespace

void addTilesCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto target = std::make_shared<MapsetArgument>();
    auto* sub = app.add_subcommand("tiles", context.msg(Msg::HelpTiles));
    target->addTo(sub, context);
    sub->callback([&context, &exitCode, target] { exitCode = runTiles(context, *target); });
}

}  // namespace veldra::cli
