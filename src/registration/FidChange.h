#pragma once
// Giving an installed mapset a new family ID everywhere it carries one: the
// TDB header (and its checksum), the index file, the type file, and the
// registry values or the package's Info.xml. Every file is kept in `backups`
// before it is touched, so that the caller can put all of them back when a
// later step, or the registry edit, fails.

#include <cstdint>

#include "app/Session.h"
#include "core/Result.h"
#include "gmap/GmapRecord.h"
#include "registration/FileBackups.h"
#include "registration/RegistryRecord.h"

namespace veldra::registration {

// The TDB; a copy of the type file beside it, named for the new FID, as the
// value TYP; the value ID; the index file the value IDX names. The registry
// changes belong to the caller's edit. A missing TDB shows "Map does not
// exist" and changes nothing.
Status changeRegistryMapsetFid(app::Session& session, const RegistryRecord& record, std::uint16_t fid,
                               FileBackups& backups);

// The TDB, the index file, the first <ID> of Info.xml, the type file Info.xml
// names and the first <ID> of Info_v2.xml; a file that is not there is skipped.
Status changeGmapPackageFid(app::Session& session, const gmap::GmapRecord& package, std::uint16_t fid,
                            FileBackups& backups);

}  // namespace veldra::registration
