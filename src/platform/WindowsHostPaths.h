#pragma once
// On Windows the host programs and this process see the same file system:
// host and native paths are the same path, written with backslashes.

#include "platform/HostPaths.h"

namespace veldra::platform {

class WindowsHostPaths : public HostPaths {
public:
    // The absolute path, with backslashes.
    std::string toHost(const std::filesystem::path& native) const override;
    // "X:\..." or "X:/..." as it is; empty for anything relative.
    std::filesystem::path toNative(std::string_view host) const override;
};

}  // namespace veldra::platform
