#include "app/WindowsVersion.h"

namespace veldra::app {

bool versionNeedsAdminCheck(const std::string& name) {
    return name == "Windows NT 4.0" || name == "Windows XP" || name == "Windows Vista" || name == "Windows 7";
}

}  // namespace veldra::app
