#pragma once
// What the main window holds for every task: the host the program works on,
// the user's dialogs, the message catalog, the registry routines, the settings
// and the host registry root chosen at start-up.

#include <filesystem>
#include <optional>
#include <string>

#include "app/Dialogs.h"
#include "app/MessageCatalog.h"
#include "app/RegistryRoutines.h"
#include "app/Settings.h"
#include "platform/HostPaths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Shell.h"

namespace veldra::app {

// The machine the host programs live on, through its ports.
struct Host {
    platform::Registry& registry;
    platform::HostPaths& paths;
    platform::Shell& shell;
    platform::Security& security;
    platform::Processes& processes;
    std::filesystem::path programFolder;
};

// The language the catalog speaks: the override, else the stored `Language`;
// a first start, with nothing stored, speaks the user's own language.
std::string interfaceLanguage(const std::string& languageOverride, const std::string& stored);

class Session {
public:
    Session(Host host, Dialogs& dialogs);

    Host host;
    Dialogs& dialogs;
    MessageCatalog catalog;
    RegistryRoutines routines;
    Settings settings;

    // Set from the `Wow64` setting; empty while it is unknown.
    std::string hostRegistryRoot;
    bool os64 = false;
    std::string userName;

    // Fills the catalog in the interface language,
    // reads the user name and chooses the host registry root from `Wow64`.
    // Returns false when `Wow64` holds neither answer.
    bool start(const std::string& languageOverride = {});

    // Refills the catalog in this session's language, so that the joined
    // entries name the files of the mapset being made.
    void setCatalogContext(const CatalogContext& context);

    // host registry root + "\Garmin\MapSource\"
    std::string mapSourceBase() const { return hostRegistryRoot + "\\Garmin\\MapSource\\"; }

    const std::string& msg(Msg id) const { return catalog.text(id); }

private:
    std::string language_;
};

}  // namespace veldra::app
