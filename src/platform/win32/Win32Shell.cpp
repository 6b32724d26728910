#include "platform/Win32Shell.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <string>

#include "platform/CurrentUser.h"
#include "platform/WindowsVersion.h"
#include "platform/win32/WideText.h"

namespace veldra::platform {
namespace fs = std::filesystem;

fs::path Win32Shell::specialFolder(int csidl) const {
    wchar_t folder[MAX_PATH + 1] = {};
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return {};
    return fs::path(folder);
}

std::string Win32Shell::myGetUserName() const { return currentUserName(); }

std::string Win32Shell::windowsVersionName() const {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    // The query the version table was made for (deprecated, yet what it describes).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExW(&info) != 0;
#pragma GCC diagnostic pop
    if (!known) return {};
    return platform::windowsVersionName({static_cast<unsigned>(info.dwPlatformId),
                                         static_cast<unsigned>(info.dwMajorVersion),
                                         static_cast<unsigned>(info.dwMinorVersion)});
}

bool Win32Shell::IsAdmin() const { return IsUserAnAdmin() != FALSE; }

fs::path Win32Shell::shortPath(const fs::path& path) const {
    const std::wstring longPath = path.wstring();
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(longPath.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) return path;
    buffer.resize(length);
    return fs::path(buffer);
}

bool Win32Shell::openDocument(std::string_view documentOrUrl) const {
    const std::wstring target = wideText(documentOrUrl);
    const HINSTANCE started = ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(started) > 32;
}

std::optional<bool> Win32Shell::knownOs64() const {
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64)) return std::nullopt;
    return wow64 != FALSE;
#endif
}

}  // namespace veldra::platform
