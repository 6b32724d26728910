#pragma once
// The host registry entry of a new mapset: the family key named after the file
// base name and the FID, its ID and type file, and the TDB, overview map and
// tile folder under "\1". The files it names reach the disk before it is
// written; every path value is read back.

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/Result.h"

namespace veldra::app {
class Session;
}

namespace veldra::integration {

struct RegistryEntry {
    std::string baseName;                // eight characters
    std::uint16_t fid = 0;               // family ID
    std::filesystem::path tileFolder;    // native; the registry gets its host form
};

// Writes the entry; a value that did not read back fails after MsgRegistryWriteFailed.
Status writeRegistryEntry(app::Session& session, const RegistryEntry& entry);

}  // namespace veldra::integration
