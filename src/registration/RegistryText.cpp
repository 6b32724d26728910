#include "registration/RegistryText.h"

#include "app/RegistryRoutines.h"
#include "platform/Cp1252.h"

namespace veldra::registration {

std::optional<std::string> queryRegistryText(const platform::Registry& registry, std::string_view key,
                                             std::string_view name) {
    const auto value = registry.queryValue(platform::RegistryRoot::LocalMachine, key, name);
    if (!value) return std::nullopt;
    const auto bytes = app::ansiQueryBytes(*value);
    if (!bytes) return std::nullopt;
    return platform::cp1252ToUtf8(std::string_view(*bytes).substr(0, bytes->find('\0')));
}

}  // namespace veldra::registration
