#include "app/Session.h"

#include "platform/UserLanguage.h"

namespace veldra::app {

std::string interfaceLanguage(const std::string& languageOverride, const std::string& stored) {
    if (!languageOverride.empty()) return languageOverride;
    return stored.empty() ? platform::userLanguage() : stored;
}

Session::Session(Host h, Dialogs& d) : host(h), dialogs(d), routines(h.registry, d, catalog), settings(routines) {}

bool Session::start(const std::string& languageOverride) {
    language_ = interfaceLanguage(languageOverride, settings.language());
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
