#include "tasks/CacheTasks.h"

namespace veldra::tasks {

CacheOverview inspectCaches(const app::Session& session) {
    CacheOverview overview{tools::gmapFolderForAllUsers(session), tools::gmapFolderOfUser(session), {}};
    for (const auto cache : tools::AllCaches) overview.caches.push_back(tools::inspectCache(session, cache));
    return overview;
}

Result<tools::CacheState> emptyCache(app::Session& session, tools::Cache cache, const Progress& progress) {
    return tools::emptyCache(session, cache, progress);
}

Result<std::string> emptyBaseCampTileCache(app::Session& session, const Progress& progress) {
    return tools::emptyBaseCampTileCache(session, progress);
}

tools::CacheButtonRefresh refreshBaseCampCacheButton(const app::Session& session) {
    return tools::refreshBaseCampCacheButton(session);
}

}  // namespace veldra::tasks
