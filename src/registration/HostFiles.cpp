#include "registration/HostFiles.h"

namespace veldra::registration {

bool hostFileExists(const app::Session& session, std::string_view hostPath) {
    return session.host.paths.hasExistingFile(hostPath);
}

std::filesystem::path existingHostFile(const app::Session& session, std::string_view hostPath) {
    return session.host.paths.existingNativeFile(hostPath);
}

}  // namespace veldra::registration
