#include "cgpsmapper/JavaRuntime.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

#ifdef _WIN32
constexpr char PathSeparator = ';';
constexpr const char* JavaName = "java.exe";
#else
constexpr char PathSeparator = ':';
constexpr const char* JavaName = "java";
#endif

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isProgram(const fs::path& candidate) {
    std::error_code ec;
    return fs::is_regular_file(candidate, ec);
}

}  // namespace

fs::path findJava() {
    if (const std::string home = environment("JAVA_HOME"); !home.empty()) {
        if (const fs::path java = fs::path(home) / "bin" / JavaName; isProgram(java)) return java;
    }
    const std::string path = environment("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(PathSeparator, start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            if (const fs::path java = fs::path(path.substr(start, end - start)) / JavaName; isProgram(java)) return java;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace veldra::outside
