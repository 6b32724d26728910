#include "platform/WindowsVersion.h"

namespace veldra::platform {

std::string windowsVersionName(const OsVersion& v) {
    switch (v.platformId) {
        case 0:
            return "Win32s für Windows 3.x";
        case 1:
            if (v.minor == 0) return "Windows 95";
            if (v.minor == 10) return "Windows 98";
            if (v.minor == 90) return "Windows Me";
            return {};
        case 2:
            if (v.major == 3) return "Windows NT 3." + std::to_string(v.minor);
            if (v.major == 4) return "Windows NT 4.0";
            if (v.major == 5) return v.minor == 0 ? "Windows 2000" : v.minor == 1 ? "Windows XP" : "";
            if (v.major == 6) return v.minor == 0 ? "Windows Vista" : v.minor == 1 ? "Windows 7" : "";
            return "Windows NT / Folgeversion";
        default:
            return {};
    }
}

}  // namespace veldra::platform
