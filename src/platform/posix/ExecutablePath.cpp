#include "platform/ExecutablePath.h"

#include <system_error>

namespace veldra::platform {

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace veldra::platform
