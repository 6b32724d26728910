#pragma once
// Owner and access rights on POSIX, as far as they can honestly be had: a
// file's owner cannot be handed to another account, and access is the owner's
// mode bits. So an account's own folder is made fully usable by it and counts
// as done; any other folder reports "access denied" as the host would.

#include "platform/Security.h"

namespace veldra::platform {

class PosixSecurity : public Security {
public:
    // Confirms the account owns the path and gives it read, write and search.
    std::vector<std::string> SetOwner(const std::filesystem::path& path, std::string_view account) override;
    // As SetOwner for the folder, then for everything below it that the account
    // owns, as inherited rights would reach it. Links are not followed.
    std::vector<std::string> SetFolderRights(const std::filesystem::path& path, std::string_view account) override;
};

}  // namespace veldra::platform
