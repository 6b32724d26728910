#pragma once
// Taking a gmapsupp.img apart: gmt.exe splits it into one image per mapset
// in "SplittMaps" beside it, each image into its tiles, TYPs and an overview
// source in a subfolder of its own; the compiler makes overview map and TDB,
// and each mapset is registered as an existing mapset. An image without
// family information is split into bare tiles for the user to integrate.

#include <filesystem>
#include <optional>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "existing/ExistingRegistration.h"

namespace veldra::integration {

class ConsoleRunner;

struct GmapsuppChoices {
    std::optional<bool> keepFid;                         // nothing: asked per mapset
    std::optional<existing::ExistingInstall> install;    // nothing: asked per mapset
};

struct GmapsuppSplit {
    std::vector<existing::RegisteredMapset> registered;
    std::vector<Failure> failures;                 // registrations that did not go through
    std::vector<std::filesystem::path> bareTiles;  // the fallback's tiles, in name order
};

// Declined when the user keeps an existing "SplittMaps" folder.
Result<GmapsuppSplit> splitGmapsupp(app::Session& session, ConsoleRunner& runner,
                                    const std::filesystem::path& gmapsupp, const GmapsuppChoices& choices);

}  // namespace veldra::integration
