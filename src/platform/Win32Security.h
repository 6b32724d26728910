#pragma once
// Owner and access rights through advapi32, step by step as the host's
// access-rights helpers take them, each failure reported with its own text.

#include "platform/Security.h"

namespace veldra::platform {

class Win32Security : public Security {
public:
    // Enables SeRestorePrivilege, sets the account's SID as owner, disables the
    // privilege again after a success.
    std::vector<std::string> SetOwner(const std::filesystem::path& path, std::string_view account) override;
    // Adds GENERIC_ALL for the account (SET_ACCESS, inherited by subfolders and files) to the DACL.
    std::vector<std::string> SetFolderRights(const std::filesystem::path& path, std::string_view account) override;
};

}  // namespace veldra::platform
