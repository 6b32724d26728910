#pragma once
// Files named by host paths in the registry, tested as the host's file system
// object tests them: a folder is no file.

#include <filesystem>
#include <string_view>

#include "app/Session.h"

namespace veldra::registration {

bool hostFileExists(const app::Session& session, std::string_view hostPath);
// The native path of the file, found once for the test and the read that
// follows; empty when there is no such file.
std::filesystem::path existingHostFile(const app::Session& session, std::string_view hostPath);

}  // namespace veldra::registration
