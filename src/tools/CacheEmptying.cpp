#include "tools/CacheEmptying.h"

#include <system_error>
#include <vector>

namespace veldra::tools {
namespace fs = std::filesystem;
namespace {

// What the cache window tells when a cache is missing, and what follows the
// remaining size after emptying it.
struct EmptyingTexts {
    const char* missing;
    const char* remaining;
};

const EmptyingTexts& textsOf(Cache cache) {
    static const EmptyingTexts texts[] = {
        {"Folder Garmin\\BaseCamp\\TileCache is not existing", " im Tilecache"},
        {"Folder \\GARMIN\\Mapinstall\\Tilecache is not existing", " MB im Tilecache"},
        {"Folder \\GARMIN\\MapSource\\TileCache is not existing", " MB im Tilecache"},
        {"Folder \\Garmin\\BaseCamp\\ProductDataCache is not existing", " MB im ProductDataCache"},
    };
    return texts[static_cast<std::size_t>(cache)];
}

bool folderExists(const fs::path& folder) {
    std::error_code error;
    return !folder.empty() && fs::is_directory(folder, error);
}

// Deletes every file directly in the folder, one by one, letting the window
// work after each; subfolders stay. A file that cannot be deleted does not stop the others.
void deleteTopLevelFiles(const fs::path& folder, app::Dialogs& dialogs, const Progress& progress) {
    // Listed first, so that deleting does not disturb the listing.
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        // A link to a folder counts as a folder; a link to a file is removed as a link.
        if (!fs::is_directory(it->status(statusError))) files.push_back(it->path());
    }
    tell(progress, 0, files.size());
    for (std::size_t done = 0; done < files.size();) {
        std::error_code ignored;
        fs::remove(files[done], ignored);
        tell(progress, ++done, files.size());
        dialogs.processEvents();
    }
}

}  // namespace

Result<CacheState> emptyCache(app::Session& session, Cache cache, const Progress& progress) {
    const auto& texts = textsOf(cache);
    const HostFolder folder = cacheFolder(session, cache);
    if (!folderExists(folder.native)) {
        session.dialogs.inform(texts.missing);
        return alreadyShown();
    }
    session.dialogs.busy(true);
    deleteTopLevelFiles(folder.native, session.dialogs, progress);
    session.dialogs.busy(false);
    CacheState state = inspectCache(session, cache);
    const std::string told = state.size.state == SizeState::Present
                                 ? std::to_string(shownMegabytes(state.size.bytes)) + texts.remaining
                                 : state.line;
    session.dialogs.inform(told, app::DefaultTitle, app::MessageIcon::Information);
    return state;
}

Result<std::string> emptyBaseCampTileCache(app::Session& session, const Progress& progress) {
    const fs::path folder = cacheFolder(session, Cache::BaseCampTiles).native;
    if (!folderExists(folder)) {
        session.dialogs.inform("TileCache is not existing");
        return alreadyShown();
    }
    session.dialogs.busy(true);
    deleteTopLevelFiles(folder, session.dialogs, progress);
    session.dialogs.busy(false);
    std::string caption = std::to_string(shownMegabytes(measureFolder(folder).bytes)) + " MB";
    session.dialogs.inform(caption + " im Tilecache", app::DefaultTitle, app::MessageIcon::Information);
    return caption;
}

CacheButtonRefresh refreshBaseCampCacheButton(const app::Session& session) {
    const auto size = measureFolder(cacheFolder(session, Cache::BaseCampTiles).native);
    if (size.state == SizeState::Missing) return {std::nullopt, "Garmin\\BaseCamp\\TileCache is not existing"};
    if (size.state == SizeState::Present && size.bytes > 0)
        return {std::to_string(shownMegabytes(size.bytes)) + " MB", std::nullopt};
    return {};
}

}  // namespace veldra::tools
