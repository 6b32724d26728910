#include "registration/HostFiles.h"

#include <filesystem>

namespace veldra::registration {

bool hostFileExists(const app::Session& session, std::string_view hostPath) {
    const std::filesystem::path native = session.host.paths.toNative(hostPath);
    std::error_code ec;
    return !native.empty() && std::filesystem::is_regular_file(native, ec);
}

}  // namespace veldra::registration
