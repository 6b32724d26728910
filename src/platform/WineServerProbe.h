#pragma once
// Finds the wineserver of a Wine prefix. While one runs it holds the prefix's
// registry in memory and overwrites the registry files when it saves, so the
// files must not be edited behind its back.

#include <filesystem>
#include <optional>

namespace veldra::platform {

struct RunningWineServer {
    std::filesystem::path serverDir;  // the folder holding its socket and lock
    long pid = 0;                     // 0 when the lock does not name it
};

// The server running for the prefix, or nothing when none runs (always
// nothing where Wine does not exist).
std::optional<RunningWineServer> findRunningWineServer(const std::filesystem::path& prefix);

}  // namespace veldra::platform
