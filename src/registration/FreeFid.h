#pragma once
// The free family ID search.

#include <cstdint>
#include <optional>

#include "app/Session.h"
#include "registration/InstalledCatalog.h"

namespace veldra::registration {

inline constexpr std::uint16_t FirstCandidateFid = 10;
inline constexpr std::uint16_t LastCandidateFid = 9999;

// The lowest number from 10 to 9999 that is the FID of no registry record and
// no package (FIDs taken as numbers); nothing when all are used. A catalog
// without registry records is rebuilt first.
std::optional<std::uint16_t> lowestFreeFid(app::Session& session, InstalledCatalog& catalog);

}  // namespace veldra::registration
