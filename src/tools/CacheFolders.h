#pragma once
// Where the host programs keep their tile caches and gmap folders, how much
// the caches hold, and the line the cache window shows for each of them.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/Session.h"

namespace veldra::tools {

enum class Cache { BaseCampTiles, MapInstallTiles, MapSourceTiles, ProductData };
inline constexpr std::array<Cache, 4> AllCaches = {Cache::BaseCampTiles, Cache::MapInstallTiles,
                                                   Cache::MapSourceTiles, Cache::ProductData};

// Folder sizes are shown in units of this many bytes (not 1048576).
inline constexpr std::uintmax_t MegabyteDivisor = 1048476;

// A folder below a special folder of the host.
struct HostFolder {
    std::filesystem::path native;  // empty when the special folder is unknown
    std::string specialFolder;     // the special folder as the host names it, which the lines start with
};

// <special folder> + relative, the folder names matched as the host matches them.
HostFolder hostFolder(const app::Session& session, int csidl, std::string_view relative);

HostFolder cacheFolder(const app::Session& session, Cache cache);
// "\GARMIN\Maps" under common application data and under the user's application data.
HostFolder gmapFolderForAllUsers(const app::Session& session);
HostFolder gmapFolderOfUser(const app::Session& session);
// The folder as the host names it: special folder + "\GARMIN\Maps".
std::string shownGmapFolder(const HostFolder& folder);

enum class SizeState { Present, Missing, AccessDenied };

struct FolderSize {
    SizeState state = SizeState::Missing;
    std::uintmax_t bytes = 0;  // every file below the folder, subfolders included
};

FolderSize measureFolder(const std::filesystem::path& folder);

// bytes / MegabyteDivisor, rounded to the nearest whole number.
std::uintmax_t shownMegabytes(std::uintmax_t bytes);

// What a cache's line says after the folder: what it holds, or that it is
// missing or could not be read.
std::string sizeState(Cache cache, const FolderSize& size);
// The cache window's line for a cache: the folder as the host names it, then its state.
std::string sizeLine(Cache cache, const std::string& specialFolder, const FolderSize& size);

struct CacheState {
    Cache cache = Cache::BaseCampTiles;
    HostFolder folder;
    FolderSize size;
    std::string line;

    // Only a cache whose size could be read may be emptied.
    bool canEmpty() const { return size.state == SizeState::Present; }
    // The line with the folder as this computer names it (on Windows the same
    // path; on Linux where the prefix keeps it).
    std::string nativeLine() const;
};

CacheState inspectCache(const app::Session& session, Cache cache);

}  // namespace veldra::tools
