#pragma once
// The Wine prefix that holds the host programs' registry and folders on POSIX
// systems: which one to use, and VELDRA's private one, made on first use.

#include <filesystem>
#include <optional>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/Registry.h"

namespace veldra::platform {

struct PrefixEnvironment {
    std::string winePrefix;   // $WINEPREFIX
    std::string xdgDataHome;  // $XDG_DATA_HOME
    std::string home;         // $HOME, else the account's home folder

    static PrefixEnvironment ofThisProcess();
};

struct PrefixChoice {
    std::filesystem::path dir;
    bool privateDefault = false;  // VELDRA's own prefix, which it may create
};

// The --prefix value, else $WINEPREFIX, else $XDG_DATA_HOME/veldra/prefix with
// XDG_DATA_HOME defaulting to ~/.local/share. Always an absolute path.
PrefixChoice choosePrefix(std::string_view prefixOption, const PrefixEnvironment& environment);

// True when the folder holds a prefix's machine registry.
bool prefixExists(const std::filesystem::path& dir);

// What the prefix's system.reg says of its Windows: true for "#arch=win64",
// false for "#arch=win32", nothing when it says neither.
std::optional<bool> prefixIsWin64(const std::filesystem::path& dir);

// Lays out a new prefix the way Wine does, so that wineboot can adopt it later:
// system.reg and user.reg (header and #arch=win64 only), dosdevices/c: ->
// ../drive_c and z: -> /, drive_c/ProgramData and the user's
// AppData\Roaming and AppData\Local. Refuses a folder that holds a prefix.
FileResult createPrefixLayout(const std::filesystem::path& dir, std::string_view userName);

// Opens the registry of the prefix in the folder; writes made through it must
// be on disk once it is destroyed.
using PrefixRegistryOpener = std::function<std::unique_ptr<Registry>(const std::filesystem::path& dir)>;

// The first-use step: a private default prefix that does not exist yet gets the
// layout and then its Shell Folders values through the opened registry. Any
// other prefix, and one that exists, is left exactly as it is.
FileResult ensureDefaultPrefix(const PrefixChoice& choice, std::string_view userName,
                               const PrefixRegistryOpener& openRegistry);

}  // namespace veldra::platform
