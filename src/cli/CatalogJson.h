#pragma once
// The installed mapsets as JSON, for `veldra --json list`.

#include <nlohmann/json.hpp>

#include "app/Session.h"
#include "registration/InstalledCatalog.h"

namespace veldra::cli {

// Every entry as an object: registry records first, then packages.
nlohmann::json catalogJson(const app::Session& session, const registration::InstalledCatalog& catalog);

}  // namespace veldra::cli
