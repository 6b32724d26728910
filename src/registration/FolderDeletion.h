#pragma once
// Deleting a folder with its contents the way the host's file system object
// does without force: a read-only file stops the deletion.

#include <filesystem>
#include <string>

namespace veldra::registration {

// Empty when the folder is gone; otherwise the error's description, and
// whatever was not deleted yet stays.
std::string deleteFolderUnforced(const std::filesystem::path& folder);

}  // namespace veldra::registration
