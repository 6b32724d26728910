#include "platform/FolderNames.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/WideText.h"

namespace veldra::platform {

std::vector<std::string> folderEntryNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = (folder / L"*").native();
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(utf8Text(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace veldra::platform
