#pragma once
// The composition root: which backends make up the host the tasks work on.
// On POSIX systems a Wine prefix with its registry files, drives and special
// folders; the program folder is the one beside the executable.

#include <filesystem>
#include <memory>
#include <string>

#include "core/Result.h"
#include "platform/HostPaths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Shell.h"

namespace veldra::platform {

struct HostBackend {
    std::filesystem::path prefix;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<HostPaths> paths;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Security> security;
    std::unique_ptr<Processes> processes;
    std::filesystem::path programFolder;
};

// Chooses the prefix (--prefix, $WINEPREFIX, VELDRA's own) and makes VELDRA's
// own on first use; fails with a message for the user. The outside programs'
// own output is shown only with `showToolOutput`.
Result<HostBackend> openHostBackend(const std::string& prefixOption, bool showToolOutput = false);

// True when the host openHostBackend would open is there already, so that
// reading its settings makes nothing. Windows is always there.
bool hostBackendExists(const std::string& prefixOption);

}  // namespace veldra::platform
