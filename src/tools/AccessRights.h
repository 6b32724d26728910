#pragma once
// Taking over the host programs' map folders and registry subtree for the
// signed-in user before an installation or a removal. Nothing here has a
// result for its callers: failures are shown and the caller goes on.

#include <filesystem>
#include <string>

namespace veldra::app {
class Session;
}
namespace veldra::platform {
class Processes;
}

namespace veldra::tools {

// Owner, then full access, for common application data + "\GARMIN\Maps" and
// then the user's application data + "\GARMIN\Maps".
// Folders that do not exist are left out.
void takeOverMapFolders(app::Session& session);

void SetOwner(app::Session& session, const std::filesystem::path& path, const std::string& account);
void SetFolderRights(app::Session& session, const std::filesystem::path& path, const std::string& account);

// Starts BIN/SetACL.exe twice without waiting: set owner, then a full-access entry.
void SetRegistryRights(app::Session& session, platform::Processes& processes, const std::string& key,
                       const std::string& account);

// "HKLM\" + host registry root + "\Garmin", as SetACL.exe expects it.
std::string garminRegistryKeyForSetAcl(const app::Session& session);

}  // namespace veldra::tools
