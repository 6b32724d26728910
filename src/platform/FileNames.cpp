#include "platform/FileNames.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/RegistryPath.h"

namespace veldra::platform {
namespace fs = std::filesystem;

std::optional<fs::path> findIgnoringCase(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) return path;
    const std::string wanted = path.filename().string();
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (equalsIgnoreCase(it->path().filename().string(), wanted)) return it->path();
    return std::nullopt;
}

std::optional<fs::path> findOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
#ifdef _WIN32
    constexpr char ListSeparator = ';';
#else
    constexpr char ListSeparator = ':';
#endif
    std::string list = path;
    std::size_t start = 0;
    while (start <= list.size()) {
        auto end = list.find(ListSeparator, start);
        if (end == std::string::npos) end = list.size();
        const fs::path candidate = fs::path(list.substr(start, end - start)) / std::string(program);
        std::error_code ec;
        if (end > start && fs::is_regular_file(candidate, ec)) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace veldra::platform
