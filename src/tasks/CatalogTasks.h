#pragma once
// The read-only catalog tasks: the installed mapsets and the lowest free FID.
// They write nothing unless the user agrees to repair a misplaced registry
// layout while the catalog is read.

#include <cstdint>

#include "app/Session.h"
#include "core/Result.h"
#include "registration/InstalledCatalog.h"

namespace veldra::tasks {

Result<registration::InstalledCatalog> listMapsets(app::Session& session);

// The lowest FID from 10 to 9999 that no installed mapset uses.
Result<std::uint16_t> findFreeFid(app::Session& session);

}  // namespace veldra::tasks
