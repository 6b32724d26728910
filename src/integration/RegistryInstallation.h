#pragma once
// The host registry entry of a new mapset: the family key named after the file
// base name and the FID, its ID and type file, and the TDB, overview map and
// tile folder under "\1". Every path value is read back.

#include <filesystem>
#include <string>

namespace veldra::app {
class Session;
}

namespace veldra::integration {

struct RegistryEntry {
    std::string baseName;                // eight characters
    unsigned fid = 0;                    // 16-bit family ID
    std::filesystem::path tileFolder;    // native; the registry gets its host form
};

// "Families\" key of the host registry root: root + "\Garmin\MapSource\Families\".
std::string familiesBaseKey(const app::Session& session);

// Writes the entry; false (after MsgRegistryWriteFailed) when a value did not read back.
bool RegistryEintragen(app::Session& session, const RegistryEntry& entry);

}  // namespace veldra::integration
