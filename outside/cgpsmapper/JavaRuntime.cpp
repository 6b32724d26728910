#include "cgpsmapper/JavaRuntime.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/FileNames.h"

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

#ifdef _WIN32
constexpr const char* JavaName = "java.exe";
#else
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
    if (const auto java = platform::findOnPath(JavaName)) return *java;
    return {};
}

}  // namespace veldra::outside
