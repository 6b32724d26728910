#include "platform/FolderCopy.h"

#include <algorithm>
#include <system_error>

namespace veldra::platform {
namespace fs = std::filesystem;

FileResult copyFolderInto(const fs::path& source, const fs::path& destination) {
    std::error_code ec;
    const fs::path from = fs::weakly_canonical(source, ec);
    if (ec || !fs::is_directory(from, ec)) return {false, "The folder does not exist."};
    const fs::path to = fs::weakly_canonical(destination, ec) / from.filename();
    if (ec) return {false, ec.message()};
    // A folder copied into itself would grow without end.
    if (std::mismatch(from.begin(), from.end(), to.begin(), to.end()).first == from.end())
        return {false, "The destination lies inside the folder to copy."};
    fs::create_directories(destination, ec);
    if (ec) return {false, ec.message()};
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) return {false, ec.message()};
    return {};
}

}  // namespace veldra::platform
