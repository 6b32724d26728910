#pragma once
// Registering a mapset that brings its TDB and overview map along, by
// registry keys or as a gmap package. The fields are checked first; the TDB
// is taken over (its name, FID and PID fill what was left empty), stamped with
// the chosen IDs and name, then installed.

#include <filesystem>
#include <string>

#include "app/Session.h"
#include "core/Progress.h"
#include "core/Result.h"
#include "existing/ExistingMapset.h"

namespace veldra::existing {

enum class ExistingInstall { Registry, GmapPackage };

struct RegisteredMapset {
    std::string name;
    std::string fid;
    std::string pid;
    std::string location;  // the family key or the package folder
};

// The family key: the first 12 characters of the 40-character header text
// (blanks and zero bytes as "_"), then the FID text.
std::string existingFamilyKeyName(std::string_view headerKeyName, std::string_view fidText);

// Registry writes join the caller's registry edit when one is open. `progress`
// counts the tiles unpacked into a gmap package.
Result<RegisteredMapset> registerExistingMapset(app::Session& session, ExistingMapset mapset,
                                                ExistingInstall install, const Progress& progress = {});

}  // namespace veldra::existing
