#pragma once
// The checks of a new mapset's name and FID against what is installed.

#include <string>
#include <vector>

#include "core/Result.h"

namespace veldra::app {

class Dialogs;
class MessageCatalog;

// What the installed-mapset catalog knows when a new mapset is named.
struct NamesInUse {
    std::vector<std::string> mapsetNames;  // the names offered for removal
    std::vector<std::string> registryFids; // FID texts of the registry records
    std::vector<std::string> gmapFids;     // FID texts of the gmap packages
};

// The longest name a TDB file holds.
inline constexpr std::size_t MaximumMapsetNameLength = 40;

// A name given whole (not typed into the name field, which cuts it) must be
// ASCII, free of the characters a Windows file name cannot hold, and fit the
// TDB; checked before anything is written.
Status checkGivenMapsetName(const std::string& name);

// Cuts the name before its first non-ASCII character, with MsgNoSpecialCharacters.
std::string validatedMapsetName(const std::string& name, Dialogs& dialogs, const MessageCatalog& catalog);

// True when the name matches an installed mapset's name (MsgNameExists, titled "VELDRA-TOOL").
bool nameInUse(const std::string& name, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog);

// True when the FID equals, as a number, a registry record's or a package's FID (MsgIdExists).
bool fidInUse(const std::string& fidText, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog);

}  // namespace veldra::app
