#include "app/Settings.h"

namespace veldra::app {

std::optional<bool> Settings::os64() const {
    const std::string value = wow64();
    if (value == Wow64Yes) return true;
    if (value == Wow64No) return false;
    return std::nullopt;
}

Status Settings::storeDirVerified(const std::string& folder) {
    return routines_.storeStringVerified(platform::RegistryRoot::CurrentUser, SettingsKey, "Dir", folder);
}

std::string Settings::read(const char* name) const {
    return routines_.queryText(platform::RegistryRoot::CurrentUser, SettingsKey, name);
}

Status Settings::write(const char* name, const std::string& value) {
    return routines_.storeString(platform::RegistryRoot::CurrentUser, SettingsKey, name, value);
}

std::string hostRegistryRoot(bool os64) { return os64 ? "SOFTWARE\\Wow6432Node" : "SOFTWARE"; }

}  // namespace veldra::app
