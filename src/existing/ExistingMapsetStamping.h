#pragma once
// Stamping an existing mapset with the FID and PID it is registered under:
// TDB (IDs and the name), a copy of its type file, its index file.

#include <cstdint>
#include <filesystem>
#include <optional>

#include "app/Session.h"
#include "core/Result.h"
#include "existing/ExistingMapset.h"

namespace veldra::existing {

// Beside the type file, named by the FID's low and high byte in decimal
// (FID 1234 = 0x04D2 gives "2104.Typ").
std::filesystem::path preparedTypeFilePath(const std::filesystem::path& typeFile, std::uint16_t fid);

// Gives the stamped type file copy, when the mapset has a type file.
Result<std::optional<std::filesystem::path>> stampExistingMapset(app::Session& session, const ExistingMapset& mapset,
                                                                 std::uint16_t fid, std::uint16_t pid);

}  // namespace veldra::existing
