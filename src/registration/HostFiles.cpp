#include "registration/HostFiles.h"

namespace veldra::registration {

bool hostFileExists(const app::Session& session, std::string_view hostPath) {
    return !existingHostFile(session, hostPath).empty();
}

std::filesystem::path existingHostFile(const app::Session& session, std::string_view hostPath) {
    std::filesystem::path native = session.host.paths.toNative(hostPath);
    std::error_code ec;
    if (native.empty() || !std::filesystem::is_regular_file(native, ec)) return {};
    return native;
}

}  // namespace veldra::registration
