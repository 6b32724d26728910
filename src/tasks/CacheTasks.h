#pragma once
// The cache window's tasks: where the host programs keep their caches and
// gmap folders and what the caches hold, and emptying a cache.

#include <string>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "tools/CacheEmptying.h"
#include "tools/CacheFolders.h"

namespace veldra::tasks {

struct CacheOverview {
    tools::HostFolder gmapFolderForAllUsers;
    tools::HostFolder gmapFolderOfUser;
    std::vector<tools::CacheState> caches;  // in the order of tools::AllCaches
};

CacheOverview inspectCaches(const app::Session& session);

// Deletes the files directly in the cache's folder and tells what remains;
// a missing folder is told and left alone. `progress` counts the files deleted.
Result<tools::CacheState> emptyCache(app::Session& session, tools::Cache cache, const Progress& progress = {});

// The main window's one-click emptying of the BaseCamp tile cache; gives the
// button's new caption.
Result<std::string> emptyBaseCampTileCache(app::Session& session, const Progress& progress = {});

// What that button shows when its caption is refreshed.
tools::CacheButtonRefresh refreshBaseCampCacheButton(const app::Session& session);

}  // namespace veldra::tasks
