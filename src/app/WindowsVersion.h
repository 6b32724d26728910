#pragma once
// Which Windows versions make start-up check for administrator rights.

#include <string>

#include "platform/WindowsVersion.h"

namespace veldra::app {

using platform::OsVersion;
using platform::windowsVersionName;

// True for the versions on which start-up asks about missing administrator rights.
bool versionNeedsAdminCheck(const std::string& versionName);

}  // namespace veldra::app
