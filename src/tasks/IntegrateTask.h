#pragma once
// Tiles (or a gmapsupp.img) to an installed mapset: the chosen tiles (all from one folder), the
// name and FID checked against what is installed, an optional type file, then
// TDB and overview map by the outside tools and the installation. Every
// registry change of the run (the stored folder included) is one edit, kept
// only when the mapset is installed.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/ConsoleWindow.h"
#include "app/Session.h"
#include "core/Result.h"
#include "existing/ExistingRegistration.h"
#include "integration/IntegrationDriver.h"

namespace veldra::tasks {

struct IntegrateRequest {
    std::vector<std::filesystem::path> tiles;
    std::string name;
    std::string fid;  // empty: the lowest free one
    integration::InstallChoice install = integration::InstallChoice::Ask;
    std::optional<std::filesystem::path> typeFile;
    std::optional<bool> keepFid;  // a gmapsupp.img's mapsets; nothing: asked per mapset
};

struct IntegrateReport {
    std::string fid;  // the FID the tiles were installed with
    // A gmapsupp.img: the mapsets registered from it, or, for an image without
    // family information, the bare tiles left for the user to integrate.
    std::vector<existing::RegisteredMapset> registered;
    std::vector<std::filesystem::path> bareTiles;
};

Result<IntegrateReport> integrateTiles(app::Session& session, const IntegrateRequest& request,
                                       app::ConsoleWindow& console);

}  // namespace veldra::tasks
