#pragma once
// Giving an installed mapset a new name: inside its TDB (a "-BAK" copy is
// kept) and, for a gmap package, inside its Info.xml. Key and file names stay.

#include <string>
#include <string_view>

#include "app/Session.h"
#include "core/Result.h"
#include "formats/TdbMapRenameFile.h"
#include "registration/InstalledCatalog.h"

namespace veldra::registration {

struct NewMapsetName {
    std::string name;
    bool refused = false;  // MsgNoSpecialCharacters was shown; the name is not taken over
};

// The rule of the new-name field: leading blanks go; a character above code
// 127 cuts the name before it and refuses it.
NewMapsetName checkNewMapsetName(app::Session& session, std::string_view typed);

// Renames the TDB, then re-reads the registry part of the catalog.
Status renameRegistryMapset(app::Session& session, InstalledCatalog& catalog,
                                           const RegistryRecord& record, std::string_view newName);

// Replaces the product name in the <Name> elements of Info.xml, renames the
// TDB, then rebuilds the catalog. A missing or refused TDB leaves Info.xml
// renamed already.
Status renameGmapPackage(app::Session& session, InstalledCatalog& catalog,
                                        const gmap::GmapRecord& record, std::string_view newName);

// Puts the name into the TDB without the name-changed notice (the backup made
// is still announced): the first step of registering an existing mapset.
Status renameTdbQuietly(app::Session& session, const std::filesystem::path& tdb, std::string_view newName);

}  // namespace veldra::registration
