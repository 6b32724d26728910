#include "platform/FileSync.h"

#include <set>

#include "platform/PathText.h"

namespace veldra::platform {

FileResult flushFilesToDisk(const std::vector<std::filesystem::path>& files) {
    std::set<std::filesystem::path> folders;
    for (const auto& file : files) {
        if (!flushFileToDisk(file)) return {false, "cannot flush " + pathText(file) + " to disk"};
        folders.insert(file.parent_path());
    }
    for (const auto& folder : folders)
        if (!flushDirectoryToDisk(folder)) return {false, "cannot flush " + pathText(folder) + " to disk"};
    return {};
}

}  // namespace veldra::platform
