#include "tools/CacheFolders.h"

#include <algorithm>
#include <system_error>

#include "platform/PathText.h"

namespace veldra::tools {
namespace fs = std::filesystem;
namespace {

// Each cache's folder and the wording of its line, which names the folder in
// its own spelling and spacing; the three endings follow that name.
struct CacheLayout {
    int csidl;
    const char* relative;
    const char* shownRelative;
    const char* present;  // followed by the size
    const char* missing;
    const char* denied;
};

const CacheLayout& layoutOf(Cache cache) {
    static const CacheLayout layouts[] = {
        {platform::csidl::LocalAppData, "\\Garmin\\BaseCamp\\TileCache", "\\GARMIN\\Basecamp\\TileCache", " :",
         ": folder is not existing", ": Zugriff verweigert"},
        {platform::csidl::LocalAppData, "\\Garmin\\Mapinstall\\TileCache", "\\GARMIN\\Mapinstall\\Tilecache", " :",
         " : folder is not existing", " : Zugriff verweigert"},
        {platform::csidl::AppData, "\\GARMIN\\MapSource\\TileCache", "\\Garmin\\Mapsource\\Tilecache", " :",
         " : folder is not existing", " :Zugriff verweigert"},
        {platform::csidl::LocalAppData, "\\GARMIN\\BaseCamp\\ProductDataCache",
         "\\Garmin\\BaseCamp\\ProductDataCache", " :", " : folder is not existing", " : Zugriff verweigert"},
    };
    return layouts[static_cast<std::size_t>(cache)];
}

constexpr std::string_view GmapFolderPath = "\\GARMIN\\Maps";

// The names of a relative host path ("\\A\\B") appended one by one.
fs::path appendHostNames(fs::path base, std::string_view relative) {
    for (std::size_t start = 0; start < relative.size();) {
        const auto end = std::min(relative.find('\\', start), relative.size());
        if (end > start) base /= std::string(relative.substr(start, end - start));
        start = end + 1;
    }
    return base;
}

}  // namespace

HostFolder hostFolder(const app::Session& session, int csidl, std::string_view relative) {
    const fs::path base = session.host.shell.specialFolder(csidl);
    if (base.empty()) return {};
    const std::string host = session.host.paths.toHost(base);
    if (host.empty()) return {appendHostNames(base, relative), base.string()};
    // Through the host path, so that existing folders are found whatever the case of their names.
    fs::path native = session.host.paths.toNative(host + std::string(relative));
    if (native.empty()) return {{}, host};
    return {std::move(native), host};
}

HostFolder cacheFolder(const app::Session& session, Cache cache) {
    const auto& layout = layoutOf(cache);
    return hostFolder(session, layout.csidl, layout.relative);
}

HostFolder gmapFolderForAllUsers(const app::Session& session) {
    return hostFolder(session, platform::csidl::CommonAppData, GmapFolderPath);
}

HostFolder gmapFolderOfUser(const app::Session& session) {
    return hostFolder(session, platform::csidl::AppData, GmapFolderPath);
}

std::string shownGmapFolder(const HostFolder& folder) { return folder.specialFolder + std::string(GmapFolderPath); }

FolderSize measureFolder(const fs::path& folder) {
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return {};
    FolderSize size{SizeState::Present, 0};
    // Links are counted as links, never followed out of the folder.
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const auto status = it->symlink_status(error);
        if (error) break;
        if (!fs::is_regular_file(status)) continue;
        const auto bytes = it->file_size(error);
        if (error) break;
        size.bytes += bytes;
    }
    if (error) return {SizeState::AccessDenied, 0};
    return size;
}

std::uintmax_t shownMegabytes(std::uintmax_t bytes) {
    return bytes / MegabyteDivisor + ((bytes % MegabyteDivisor) * 2 >= MegabyteDivisor ? 1 : 0);
}

std::string sizeState(Cache cache, const FolderSize& size) {
    const auto& layout = layoutOf(cache);
    switch (size.state) {
        case SizeState::Missing: return layout.missing;
        case SizeState::AccessDenied: return layout.denied;
        case SizeState::Present: break;
    }
    const auto megabytes = shownMegabytes(size.bytes);
    if (cache != Cache::ProductData) return layout.present + std::to_string(megabytes) + " MB belegt";
    // Product data is often small: below half a unit the bytes themselves are shown.
    const std::string value =
        megabytes == 0 && size.bytes > 0 ? std::to_string(size.bytes) + " Byte" : std::to_string(megabytes);
    return layout.present + value + " belegt";
}

std::string sizeLine(Cache cache, const std::string& specialFolder, const FolderSize& size) {
    return specialFolder + layoutOf(cache).shownRelative + sizeState(cache, size);
}

std::string CacheState::nativeLine() const {
    return folder.native.empty() ? line : platform::pathText(folder.native) + sizeState(cache, size);
}

CacheState inspectCache(const app::Session& session, Cache cache) {
    CacheState state{cache, cacheFolder(session, cache), {}, {}};
    state.size = measureFolder(state.folder.native);
    state.line = sizeLine(cache, state.folder.specialFolder, state.size);
    return state;
}

}  // namespace veldra::tools
