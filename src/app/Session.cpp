#include "app/Session.h"

namespace veldra::app {

Session::Session(Host h, Dialogs& d) : host(h), dialogs(d), routines(h.registry, d, catalog), settings(routines) {}

bool Session::start(const std::string& languageOverride) {
    language_ = languageOverride.empty() ? settings.language() : languageOverride;
    catalog.fill(language_, {{}, {}, host.programFolder.string()});
    userName = host.shell.myGetUserName();
    const auto is64 = settings.os64();
    if (!is64) return false;
    os64 = *is64;
    hostRegistryRoot = app::hostRegistryRoot(os64);
    return true;
}

void Session::setCatalogContext(const CatalogContext& context) { catalog.fill(language_, context); }

}  // namespace veldra::app
