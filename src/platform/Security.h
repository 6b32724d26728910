#pragma once
// Owner and access rights of the host programs' map folders. Neither operation
// has a result its callers act on: each returns the failure messages to show,
// in order, and an empty list when all went well.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace veldra::platform {

class Security {
public:
    virtual ~Security() = default;

    // Makes the account the owner of the file or folder.
    virtual std::vector<std::string> SetOwner(const std::filesystem::path& path, std::string_view account) = 0;
    // Gives the account full access to the folder, inherited by its contents.
    virtual std::vector<std::string> SetFolderRights(const std::filesystem::path& path, std::string_view account) = 0;
};

}  // namespace veldra::platform
