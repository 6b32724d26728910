#pragma once
// Attaching a type file to a registry mapset, replacing it, or detaching it.

#include <filesystem>
#include <optional>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// With a type file chosen: copies it beside the TDB under the FID's registry
// type-file name, stamped with the FID, and stores it as the family's TYP (a
// "Products" mapset becomes a "Families" one on the way, removed only after the
// family reads back). Without one: asks MsgNoTypeFileContinue, keeps the old
// file as ".bak" and deletes TYP. Run inside a registry edit: a failure leaves
// the registry changes to be dropped. The type file replaced or detached is
// copied to ".bak" and named in `superseded`: the caller removes it once the
// edit is committed, so that a crash in between never leaves a key naming a
// file that is gone.
Status changeRegistryTypeFile(app::Session& session, const RegistryRecord& record,
                               const std::optional<std::filesystem::path>& chosen,
                               std::vector<std::filesystem::path>& superseded);

}  // namespace veldra::registration
