#pragma once
// The shell probes answered by Windows itself: shell32 for the special
// folders, the administrator check, short paths and opening documents,
// the version the system reports for the version table.

#include "platform/Shell.h"

namespace veldra::platform {

class Win32Shell : public Shell {
public:
    std::filesystem::path specialFolder(int csidl) const override;
    std::string myGetUserName() const override;
    std::string windowsVersionName() const override;
    bool IsAdmin() const override;
    std::filesystem::path shortPath(const std::filesystem::path& path) const override;
    bool openDocument(std::string_view documentOrUrl) const override;
    // A 64-bit program runs only on a 64-bit Windows; a 32-bit one asks whether it runs under WOW64.
    std::optional<bool> knownOs64() const override;
};

}  // namespace veldra::platform
