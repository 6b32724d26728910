#include "app/Session.h"

namespace veldra::app {

Session::Session(Host h, Dialogs& d) : host(h), dialogs(d), routines(h.registry, d, catalog), settings(routines) {}

bool Session::start(const std::string& languageOverride) {
    catalog.fill(languageOverride.empty() ? settings.language() : languageOverride);
    userName = host.shell.myGetUserName();
    const auto is64 = settings.os64();
    if (!is64) return false;
    os64 = *is64;
    hostRegistryRoot = app::hostRegistryRoot(os64);
    return true;
}

}  // namespace veldra::app
