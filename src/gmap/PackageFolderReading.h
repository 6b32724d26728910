#pragma once
// Reading one package folder into the catalog.

#include <filesystem>
#include <vector>

#include "app/Dialogs.h"
#include "gmap/GmapRecord.h"

namespace veldra::gmap {

// Appends one record per <SubProduct> of each file of `folder` whose name ends
// in exactly "Info.xml". A damaged file is reported and ends the folder; what
// was appended stays. A file that cannot be read, or is larger than any
// package description, is reported and skipped. A missing folder or one
// without Info.xml adds nothing.
void appendPackageRecords(const std::filesystem::path& folder, app::Dialogs& dialogs, std::vector<GmapRecord>& records);

// "File <path> info.xml ist beschädigt" (the same German text in both languages).
std::string damagedInfoXmlMessage(const std::filesystem::path& infoXml);

}  // namespace veldra::gmap
