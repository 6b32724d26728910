#pragma once
// One mapset of the host registry as the catalog lists it.

#include <cstdint>
#include <optional>
#include <string>

#include "registration/HostRegistryLayout.h"

namespace veldra::registration {

// Markers of records whose files are gone.
inline constexpr const char* TdbMissingMarker = "!! TDB-File fehlt !!";
inline constexpr const char* OverviewMissingMarker = "!! Uebersicht fehlt !!";
inline constexpr const char* FidErrorMarker = "Fehler";
inline constexpr const char* PidErrorMarker = "fehler";
inline constexpr const char* NoTypeFileMarker = "keinTypefile";

struct RegistryRecord {
    // The map name of the TDB header (up to 40 characters, which may run past
    // the series name's zero byte) or a missing-file marker. The catalog shows
    // it and offers it for removal under the same text.
    std::string name;
    std::string fid;  // decimal text, or FidErrorMarker
    std::string pid;  // decimal text, or PidErrorMarker
    // Families and FamiliesNT: family name + "\" + product subkey; Products: the product number.
    // A family repaired while it was read shows its family name alone.
    std::string subkey;
    // The key that was enumerated, with its trailing backslash.
    std::string parentKey;
    // The key that holds TDB, BMAP and LOC: the product key.
    std::string valueKey;
    RecordKind kind = RecordKind::Families;
    std::string tdb;       // value TDB, a host path
    std::string overview;  // value BMAP, a host path
    std::string loc;       // value LOC, the tile folder
    std::string typ;       // value Typ of the parent key, or NoTypeFileMarker
    // The family's ID value: the FID the host programs know the family by,
    // which stays taken even while the TDB is missing.
    std::optional<std::uint16_t> registeredFid;

    // The name up to its first zero byte: what a list shows.
    std::string shownName() const { return name.substr(0, name.find('\0')); }
    // The registry key the record was read from, as `list` shows it (subkey without the product part).
    std::string keyName() const { return subkey.substr(0, subkey.find('\\')); }
};

}  // namespace veldra::registration
