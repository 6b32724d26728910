#pragma once
#include <filesystem>

namespace veldra::platform {

// The folder of this process's executable: the program folder that holds the
// outside tools.
std::filesystem::path executableFolder();

}  // namespace veldra::platform
