#include "platform/WindowsHostPaths.h"

#include <system_error>

#include "platform/PathText.h"

namespace veldra::platform {
namespace fs = std::filesystem;

std::string WindowsHostPaths::toHost(const fs::path& native) const {
    if (native.empty()) return {};
    std::error_code ec;
    const fs::path full = fs::absolute(native, ec);
    if (ec) return {};
    return pathText(full.lexically_normal().make_preferred());
}

fs::path WindowsHostPaths::toNative(std::string_view host) const {
    const bool drive = host.size() >= 2 && host[1] == ':' &&
                       ((host[0] >= 'A' && host[0] <= 'Z') || (host[0] >= 'a' && host[0] <= 'z'));
    // "C:file" is relative to a drive's current folder.
    if (!drive || (host.size() > 2 && host[2] != '\\' && host[2] != '/')) return {};
    if (host.size() == 2) return pathFromText(std::string(host) + '\\');
    return pathFromText(host).make_preferred();
}

}  // namespace veldra::platform
