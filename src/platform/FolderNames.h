#pragma once
// The names in a folder, without a look at the type of each entry: for a
// reader that opens what it looks for and lets the open tell what it is.

#include <filesystem>
#include <string>
#include <vector>

namespace veldra::platform {

// UTF-8 names in the order the file system gives them, without "." and "..".
// Empty when the folder is missing, is no folder or cannot be listed.
std::vector<std::string> folderEntryNames(const std::filesystem::path& folder);

}  // namespace veldra::platform
