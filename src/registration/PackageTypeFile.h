#pragma once
// Attaching a type file to a gmap package, replacing it, or detaching it.

#include <filesystem>
#include <optional>

#include "app/Session.h"
#include "gmap/GmapRecord.h"
#include "core/Result.h"

namespace veldra::registration {

// With a type file chosen: copies it as "<FID>.Typ" into the package folder,
// stamped with the FID, and names it in Info.xml (and Info_v2.xml). Without
// one: asks MsgNoTypeFileContinue, then removes the name from both files.
Status changePackageTypeFile(app::Session& session, const gmap::GmapRecord& package,
                              const std::optional<std::filesystem::path>& chosen);

}  // namespace veldra::registration
