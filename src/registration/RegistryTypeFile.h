#pragma once
// Attaching a type file to a registry mapset, replacing it, or detaching it.

#include <filesystem>
#include <optional>

#include "app/Session.h"
#include "registration/Outcome.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// With a type file chosen: copies it beside the TDB under the FID's registry
// type-file name, stamped with the FID, and stores it as the family's TYP (a
// "Products" mapset becomes a "Families" one on the way). Without one: asks
// MsgNoTypeFileContinue, keeps the old file as ".bak" and deletes TYP.
Outcome changeRegistryTypeFile(app::Session& session, const RegistryRecord& record,
                               const std::optional<std::filesystem::path>& chosen);

}  // namespace veldra::registration
