#pragma once
// Naming one installed mapset without a list to click in: by the name the
// catalog lists it under, or by its FID, narrowed by a PID where needed.

#include <cstdint>
#include <optional>
#include <string>

#include "core/Result.h"
#include "registration/InstalledCatalog.h"
#include "registration/MapsetSelection.h"

namespace veldra::tasks {

struct MapsetChoice {
    std::string mapset;               // name or FID
    std::optional<std::uint32_t> pid;  // only entries of this product ID
};

// One line of the catalog as the command line lists it:
// "<name>\tFID:<fid>\tPID:<pid>\t<kind>\t<subkey>"; a package by its display line.
std::string catalogLine(const registration::InstalledCatalog& catalog, registration::CatalogEntry entry);

// The one entry the choice names; otherwise a failure that lists the
// candidates (every entry when none matched).
Result<registration::CatalogEntry> chooseMapset(const registration::InstalledCatalog& catalog,
                                                const MapsetChoice& choice);

}  // namespace veldra::tasks
