#pragma once
// How the commands that work on installed mapsets show them and pick one.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "registration/InstalledCatalog.h"
#include "registration/MapsetSelection.h"

namespace veldra::cli {

class CliContext;

// "<name>\tFID:<fid>\tPID:<pid>\t<kind>\t<subkey>"; a package by its display line.
std::string catalogLine(const registration::InstalledCatalog& catalog, registration::CatalogEntry entry);

// Every entry as an object: registry records first, then packages.
nlohmann::json catalogJson(const app::Session& session, const registration::InstalledCatalog& catalog);

// The one entry MAPSET names; otherwise fails, listing the candidates (all
// entries when none matched).
registration::CatalogEntry chooseMapset(const registration::InstalledCatalog& catalog, const std::string& mapset,
                                        std::optional<std::uint32_t> pid);

}  // namespace veldra::cli
