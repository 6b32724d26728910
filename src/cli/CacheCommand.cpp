// `veldra cache`: where the host programs keep their tile caches and gmap
// folders and how much the caches hold; `--empty CACHE` empties one of them.

#include <map>
#include <ostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "platform/PathText.h"
#include "tasks/CacheTasks.h"

namespace veldra::cli {
namespace {

using tools::Cache;

const std::map<std::string, Cache>& cacheNames() {
    static const std::map<std::string, Cache> names = {{"basecamp", Cache::BaseCampTiles},
                                                       {"mapinstall", Cache::MapInstallTiles},
                                                       {"mapsource", Cache::MapSourceTiles},
                                                       {"productdata", Cache::ProductData}};
    return names;
}

std::string nameOf(Cache cache) {
    for (const auto& [name, named] : cacheNames())
        if (named == cache) return name;
    return {};
}

const char* stateName(tools::SizeState state) {
    switch (state) {
        case tools::SizeState::Present: return "present";
        case tools::SizeState::Missing: return "missing";
        case tools::SizeState::AccessDenied: return "accessDenied";
    }
    return "";
}

nlohmann::json cacheJson(const tools::CacheState& state) {
    return {{"cache", nameOf(state.cache)},
            {"path", state.folder.native.string()},
            {"state", stateName(state.size.state)},
            {"bytes", state.size.bytes},
            {"megabytes", tools::shownMegabytes(state.size.bytes)},
            {"canEmpty", state.canEmpty()},
            {"line", state.nativeLine()}};
}

nlohmann::json gmapFolderJson(const tools::HostFolder& folder) {
    return {{"hostPath", tools::shownGmapFolder(folder)}, {"path", folder.native.string()}};
}

// A folder as this computer names it; as the host does when it has no path here.
std::string shownFolder(const tools::HostFolder& folder) {
    return folder.native.empty() ? tools::shownGmapFolder(folder) : platform::pathText(folder.native);
}

void print(CliContext& context, const nlohmann::json& data) {
    context.out << data.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

int runOverview(CliContext& context) {
    const auto& session = context.sessionWithoutHostRoot();
    const auto overview = tasks::inspectCaches(session);
    if (context.options.json) {
        nlohmann::json caches = nlohmann::json::array();
        for (const auto& state : overview.caches) caches.push_back(cacheJson(state));
        print(context, {{"gmapFolders",
                         {{"allUsers", gmapFolderJson(overview.gmapFolderForAllUsers)},
                          {"user", gmapFolderJson(overview.gmapFolderOfUser)}}},
                        {"caches", caches}});
        return ExitDone;
    }
    context.out << session.msg(app::Msg::TextGmapFolderAllUsers) << shownFolder(overview.gmapFolderForAllUsers) << '\n'
                << session.msg(app::Msg::TextGmapFolderOfUser) << shownFolder(overview.gmapFolderOfUser) << '\n';
    for (const auto& state : overview.caches) context.out << state.nativeLine() << '\n';
    context.err << session.msg(app::Msg::MsgGmapFoldersExplanation) << '\n';
    return ExitDone;
}

int runEmpty(CliContext& context, Cache cache) {
    const auto emptied = tasks::emptyCache(context.sessionWithoutHostRoot(), cache);
    if (!emptied) return context.finish(emptied);
    if (context.options.json)
        print(context, cacheJson(*emptied));
    else
        context.out << emptied->nativeLine() << '\n';
    return ExitDone;
}

}  // namespace

void addCacheCommand(CLI::App& app, CliContext& context, int& exitCode) {
    auto cache = std::make_shared<Cache>();
    auto* sub = app.add_subcommand("cache", context.msg(Msg::HelpCache));
    auto* empty = sub->add_option("--empty", *cache, context.msg(Msg::HelpCacheEmpty))
                      ->transform(CLI::CheckedTransformer(cacheNames(), CLI::ignore_case));
    sub->callback([&context, &exitCode, cache, empty] {
        exitCode = empty->count() > 0 ? runEmpty(context, *cache) : runOverview(context);
    });
}

}  // namespace veldra::cli
