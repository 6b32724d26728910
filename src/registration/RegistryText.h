#pragma once
// A registry value read the way the catalog and the type-file commands read
// it: into a 256-byte buffer, as ANSI text up to its NUL.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Text.h"
#include "platform/Registry.h"

namespace veldra::registration {

// Nothing when the key or value is missing or the value does not fit the
// buffer. Not trimmed.
std::optional<std::string> queryRegistryText(const platform::Registry& registry, std::string_view key,
                                             std::string_view name);
// The same for a value already read.
std::optional<std::string> registryText(const platform::RegistryValue& value);
// The value of that name among a key's values, or nothing.
const platform::RegistryValue* namedValue(const std::vector<platform::NamedRegistryValue>& values,
                                          std::string_view name);

// The catalog code trims as the registry routines do.
inline std::string trimRight(std::string_view text) { return std::string(platform::trimTrailingBlanks(text)); }
inline std::string trimBlanks(std::string_view text) { return std::string(platform::trimBlanks(text)); }

}  // namespace veldra::registration
