#include "tasks/CacheTasks.h"

namespace veldra::tasks {

CacheOverview inspectCaches(const app::Session& session) {
    CacheOverview overview{tools::gmapFolderForAllUsers(session), tools::gmapFolderOfUser(session), {}};
    for (const auto cache : tools::AllCaches) overview.caches.push_back(tools::inspectCache(session, cache));
    return overview;
}

Result<tools::CacheState> emptyCache(app::Session& session, tools::Cache cache) {
    return tools::emptyCache(session, cache);
}

Result<std::string> emptyBaseCampTileCache(app::Session& session) { return tools::emptyBaseCampTileCache(session); }

tools::CacheButtonRefresh refreshBaseCampCacheButton(const app::Session& session) {
    return tools::refreshBaseCampCacheButton(session);
}

}  // namespace veldra::tasks
