#pragma once
// Removing an installed mapset: a registry mapset loses its keys, its TDB and
// its overview map (never its tiles); a gmap package loses its folder.

#include "app/Session.h"
#include "platform/Processes.h"
#include "registration/InstalledCatalog.h"
#include "core/Result.h"

namespace veldra::registration {

// What entering the removal mode does: the user is given the rights to change
// the host registry's Garmin key, the catalog is rebuilt and FIDs used twice
// are reported.
void showMapsetsForRemoval(app::Session& session, platform::Processes& processes, InstalledCatalog& catalog);

// Asks MsgConfirmRemoveMapset (OK/Cancel), deletes the record's keys in one
// registry edit, then its TDB and overview map, then re-reads the registry
// part of the catalog.
Status removeRegistryMapset(app::Session& session, InstalledCatalog& catalog, const RegistryRecord& record);

// Asks MsgConfirmRemoveMapset (Yes/No), deletes the package folder, then
// re-reads the packages.
Status removeGmapPackage(app::Session& session, InstalledCatalog& catalog, const gmap::GmapRecord& record);

}  // namespace veldra::registration
