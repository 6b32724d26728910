#pragma once
// The Windows version name that decides whether start-up checks for
// administrator rights.

#include <string>

namespace veldra::app {

struct OsVersion {
    unsigned platformId = 0;  // 0 Win32s, 1 the Windows 95 family, 2 the NT family
    unsigned major = 0;
    unsigned minor = 0;
};

// The name from the version table; empty for versions it does not know.
std::string windowsVersionName(const OsVersion& version);

// True for the versions on which start-up asks about missing administrator rights.
bool versionNeedsAdminCheck(const std::string& versionName);

}  // namespace veldra::app
