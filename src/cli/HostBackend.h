#pragma once
// The host the command works on: on this system, a Wine prefix with its
// registry files, drives and special folders, and the program folder beside
// the executable.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/HostPaths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Shell.h"

namespace veldra::cli {

struct HostBackend {
    std::filesystem::path prefix;
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<platform::HostPaths> paths;
    std::unique_ptr<platform::Shell> shell;
    std::unique_ptr<platform::Security> security;
    std::unique_ptr<platform::Processes> processes;
    std::filesystem::path programFolder;
};

// Chooses the prefix (--prefix, $WINEPREFIX, VELDRA's own) and makes VELDRA's
// own on first use. Throws std::runtime_error with a message for the user.
HostBackend openHostBackend(const std::string& prefixOption);

}  // namespace veldra::cli
