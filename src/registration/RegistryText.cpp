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

namespace {

// The text of a string value whose characters are all ASCII, or nothing for
// any other value. Such a text is itself in UTF-16, UTF-8 and code page 1252,
// so it is taken in one pass instead of three conversions.
std::optional<std::string> asciiText(const platform::RegistryValue& value) {
    using platform::RegistryType;
    if (value.type != RegistryType::String && value.type != RegistryType::ExpandString &&
        value.type != RegistryType::MultiString)
        return std::nullopt;
    std::string text;
    text.reserve(value.data.size() / 2);
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        if (value.data[i + 1] != 0 || value.data[i] >= 0x80) return std::nullopt;
        if (value.data[i] == 0) break;
        text += static_cast<char>(value.data[i]);
    }
    return text;
}

}  // namespace

std::optional<std::string> registryText(const platform::RegistryValue& value) {
    // With its NUL, it must fit the buffer.
    if (auto ascii = asciiText(value)) return ascii->size() < app::QueryBufferSize ? std::move(ascii) : std::nullopt;
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
