#include "common/ToolPaths.h"

#include <system_error>

#include "platform/PathText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/Prefix.h"
#include "platform/WineHostPaths.h"
#endif

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

#ifndef _WIN32
// Wine maps Z: to the root in every prefix it makes.
fs::path rootDrivePath(std::string_view rest) {
    std::string unix = "/";
    for (const char c : rest) unix += isSeparator(c) ? '/' : c;
    return platform::pathFromText(unix).lexically_normal();
}
#endif

}  // namespace

bool isHostPath(std::string_view text) {
    if (text.starts_with("\\\\?\\unix")) return true;
    return text.size() >= 2 && isDriveLetter(text[0]) && text[1] == ':' && (text.size() == 2 || isSeparator(text[2]));
}

#ifdef _WIN32
fs::path nativeToolPath(std::string_view text) { return platform::pathFromText(text); }

fs::path ownExecutable(const char* argv0) {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return fs::absolute(fs::path(argv0));
    buffer.resize(length);
    return fs::path(buffer);
}
#else
fs::path nativeToolPath(std::string_view text) {
    if (!isHostPath(text)) return platform::pathFromText(text);
    const fs::path prefix = platform::choosePrefix("", platform::PrefixEnvironment::ofThisProcess()).dir;
    std::error_code ec;
    const bool rootDrive = (text[0] == 'z' || text[0] == 'Z') && text[1] == ':';
    if (rootDrive && !fs::exists(prefix / "dosdevices" / "z:", ec)) return rootDrivePath(text.substr(2));
    return platform::WineHostPaths(prefix).toNative(text);
}

fs::path ownExecutable(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return self;
    return fs::absolute(fs::path(argv0 != nullptr ? argv0 : ""), ec);
}
#endif

}  // namespace veldra::outside
