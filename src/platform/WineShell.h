#pragma once
// The shell probes answered from a Wine prefix: special folders from the
// prefix's registry mapped through its drives, the POSIX user's name, and what
// a POSIX host can honestly say about the rest.

#include <optional>
#include <string>

#include "platform/HostPaths.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace veldra::platform {

class WineShell : public Shell {
public:
    // Both must outlive the shell. userName is the prefix's user (currentUserName());
    // win64 is what the prefix's system.reg says of its Windows.
    WineShell(const Registry& registry, const HostPaths& paths, std::string userName,
              std::optional<bool> win64 = std::nullopt);

    std::filesystem::path specialFolder(int csidl) const override;
    std::string myGetUserName() const override;
    // Empty: no Windows version, so start-up asks no administrator question.
    std::string windowsVersionName() const override;
    bool IsAdmin() const override;
    // POSIX names have no 8.3 form.
    std::filesystem::path shortPath(const std::filesystem::path& path) const override;
    // Hands the document or URL to xdg-open.
    bool openDocument(std::string_view documentOrUrl) const override;
    std::optional<bool> knownOs64() const override { return win64_; }

private:
    const Registry& registry_;
    const HostPaths& paths_;
    std::string userName_;
    std::optional<bool> win64_;
};

}  // namespace veldra::platform
