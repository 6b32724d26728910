#pragma once
// The host registry entry of a new mapset: the family key named after the file
// base name and the FID, its ID and type file, and the TDB, overview map and
// tile folder under "\1". Every path value is read back.

#include <cstdint>
#include <filesystem>
#include <string>

namespace veldra::app {
class Session;
}

namespace veldra::integration {

struct RegistryEntry {
    std::string baseName;                // eight characters
    std::uint16_t fid = 0;               // family ID
    std::filesystem::path tileFolder;    // native; the registry gets its host form
};

// Writes the entry; false (after MsgRegistryWriteFailed) when a value did not read back.
bool RegistryEintragen(app::Session& session, const RegistryEntry& entry);

}  // namespace veldra::integration
