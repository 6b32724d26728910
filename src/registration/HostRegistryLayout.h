#pragma once
// Where the host programs keep installed mapsets: three branches below
// HKLM\<host registry root>\Garmin\MapSource.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/Session.h"

namespace veldra::registration {

inline constexpr auto Machine = platform::RegistryRoot::LocalMachine;

enum class RecordKind { Families, FamiliesNT, Products };

// "Families", "FamiliesNT", "Products".
std::string_view kindName(RecordKind kind);

// mapSourceBase() + branch + "\"
std::string branchKey(const app::Session& session, RecordKind kind);

// The text whose characters are the two bytes of the `ID` value, low byte
// first, as storeTextAsBinary stores it.
std::string familyIdText(std::uint16_t fid);

// The subkey text up to and including its first backslash ("Alps\1" gives
// "Alps\"); the whole text when it has none.
std::string familyPart(std::string_view subkey);

}  // namespace veldra::registration
