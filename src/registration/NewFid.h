#pragma once
// The family ID typed for a mapset's FID change, and whether another mapset
// has it already.

#include <cstdint>
#include <string_view>

#include "core/Result.h"
#include "registration/InstalledCatalog.h"

namespace veldra::registration {

inline constexpr std::uint32_t HighestNewFid = 60000;
// Fixed texts of the FID changer, each in the one language it has.
inline constexpr const char* FidTooBig = "FID to big";
inline constexpr const char* FidNotANumber = "geben Sie die FID als Zahl ein";

// The whole part of the number typed (blanks around it allowed, "12.7" gives
// 12). Refused: no number (FidNotANumber), above 60000 (FidTooBig), a whole
// part of 0 or less (MsgFidNotPositive).
Result<std::uint16_t> parseNewFid(std::string_view typed);

// Whether a registry record (by the FID of its TDB or its family's ID value)
// or a gmap package (by its <ID>) has the FID.
bool fidInUse(const InstalledCatalog& catalog, std::uint16_t fid);

}  // namespace veldra::registration
