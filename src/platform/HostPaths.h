#pragma once
// Host paths are what the host programs see and store ("C:\ProgramData\...");
// native paths are how this process reaches the same file. Every value the host
// programs read goes through here, so the conversion lives in one place.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/FileStart.h"

namespace veldra::platform {

class HostPaths {
public:
    virtual ~HostPaths() = default;

    // The host path of a native path (UTF-8). The file need not exist yet.
    // Empty when the path cannot be expressed for the host.
    virtual std::string toHost(const std::filesystem::path& native) const = 0;
    // The native path of an absolute host path ("X:\..." or "X:/..."). The file
    // need not exist yet. Empty for a relative or malformed host path.
    virtual std::filesystem::path toNative(std::string_view host) const = 0;
    // The native path of the existing regular file (links followed) that an
    // absolute host path names; empty when there is none.
    virtual std::filesystem::path existingNativeFile(std::string_view host) const {
        std::filesystem::path native = toNative(host);
        std::error_code ec;
        return !native.empty() && std::filesystem::is_regular_file(native, ec) ? native : std::filesystem::path();
    }
    // Whether existingNativeFile finds a file.
    virtual bool hasExistingFile(std::string_view host) const { return !existingNativeFile(host).empty(); }
    // The first bytes of the file existingNativeFile finds: NoFile where it
    // finds none.
    virtual FileStart existingNativeFileStart(std::string_view host, std::size_t maxBytes) const {
        const std::filesystem::path native = existingNativeFile(host);
        return native.empty() ? FileStart{} : readFileStart(native, maxBytes);
    }
};

}  // namespace veldra::platform
