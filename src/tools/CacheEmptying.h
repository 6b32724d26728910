#pragma once
// Emptying a cache of the host programs: the files directly in its folder go,
// its subfolders and their files stay. The cache window empties any cache;
// the main window's button empties the BaseCamp tile cache in one click and
// shows its size in its caption.

#include <filesystem>
#include <optional>
#include <string>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "tools/CacheFolders.h"

namespace veldra::tools {

// The cache window's clear button: a missing folder is told and nothing
// happens (the failure says it was shown); otherwise the folder is emptied and
// the remaining size is told. Gives the cache's new state. `progress` counts
// the files to delete, here and in the button's emptying.
Result<CacheState> emptyCache(app::Session& session, Cache cache, const Progress& progress = {});

// The main window's button: empties the BaseCamp tile cache, tells what
// remains and gives the button's new caption (size + " MB").
Result<std::string> emptyBaseCampTileCache(app::Session& session, const Progress& progress = {});

// What the main window's button shows when it is refreshed: a caption while the
// BaseCamp tile cache holds something, a notice while it is missing.
struct CacheButtonRefresh {
    std::optional<std::string> caption;
    std::optional<std::string> notice;
};
CacheButtonRefresh refreshBaseCampCacheButton(const app::Session& session);

}  // namespace veldra::tools
