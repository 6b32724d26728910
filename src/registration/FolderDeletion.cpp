#include "registration/FolderDeletion.h"

#include <algorithm>
#include <vector>

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// The description the host gives its error 70.
constexpr const char* PermissionDenied = "Permission denied";

bool readOnly(const fs::path& file) {
    std::error_code ec;
    const auto permissions = fs::symlink_status(file, ec).permissions();
    return !ec && (permissions & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

std::string deleteFolderUnforced(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder, ec)) entries.push_back(entry.path());
    if (ec) return ec.message();
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        if (fs::is_directory(fs::symlink_status(entry, ec))) {
            if (std::string error = deleteFolderUnforced(entry); !error.empty()) return error;
            continue;
        }
        if (readOnly(entry)) return PermissionDenied;
        if (!fs::remove(entry, ec) && ec) return ec.message();
    }
    if (!fs::remove(folder, ec) && ec) return ec.message();
    return {};
}

}  // namespace veldra::registration
