#pragma once
// The checks of a new mapset's name and FID against what is installed.

#include <string>
#include <vector>

namespace veldra::app {

class Dialogs;
class MessageCatalog;

// What the installed-mapset catalog knows when a new mapset is named.
struct NamesInUse {
    std::vector<std::string> mapsetNames;  // the names offered for removal
    std::vector<std::string> registryFids; // FID texts of the registry records
    std::vector<std::string> gmapFids;     // FID texts of the gmap packages
};

// Cuts the name before its first non-ASCII character, with MsgNoSpecialCharacters.
std::string validatedMapsetName(const std::string& name, Dialogs& dialogs, const MessageCatalog& catalog);

// True when the name matches an installed mapset's name (MsgNameExists, titled "VELDRA-TOOL").
bool nameInUse(const std::string& name, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog);

// True when the FID equals, as a number, a registry record's or a package's FID (MsgIdExists).
bool fidInUse(const std::string& fidText, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog);

}  // namespace veldra::app
