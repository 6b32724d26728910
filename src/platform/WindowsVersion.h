#pragma once
// The Windows version name the administrator check of start-up depends on:
// a table of the version numbers the host reports.

#include <string>

namespace veldra::platform {

struct OsVersion {
    unsigned platformId = 0;  // 0 Win32s, 1 the Windows 95 family, 2 the NT family
    unsigned major = 0;
    unsigned minor = 0;
};

// The name from the version table; empty for versions it does not know.
std::string windowsVersionName(const OsVersion& version);

}  // namespace veldra::platform
