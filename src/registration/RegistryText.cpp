#include "registration/RegistryText.h"

#include <algorithm>

#include "app/RegistryRoutines.h"
#include "platform/Cp1252.h"
#include "platform/RegistryPath.h"

namespace veldra::registration {

std::optional<std::string> queryRegistryText(const platform::Registry& registry, std::string_view key,
                                             std::string_view name) {
    const auto value = registry.queryValue(platform::RegistryRoot::LocalMachine, key, name);
    if (!value) return std::nullopt;
    return registryText(*value);
}

std::optional<std::string> registryText(const platform::RegistryValue& value) {
    const auto bytes = app::ansiQueryBytes(value);
    if (!bytes) return std::nullopt;
    return platform::cp1252ToUtf8(std::string_view(*bytes).substr(0, bytes->find('\0')));
}

const platform::RegistryValue* namedValue(const std::vector<platform::NamedRegistryValue>& values,
                                          std::string_view name) {
    const auto found = std::find_if(values.begin(), values.end(), [name](const platform::NamedRegistryValue& entry) {
        return platform::equalsIgnoreCase(entry.name, name);
    });
    return found == values.end() ? nullptr : &found->value;
}

}  // namespace veldra::registration
