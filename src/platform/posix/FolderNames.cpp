#include "platform/FolderNames.h"

#include <dirent.h>

#include <string_view>

namespace veldra::platform {

std::vector<std::string> folderEntryNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

}  // namespace veldra::platform
