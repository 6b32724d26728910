#include "registration/RegistryText.h"

#include "platform/Cp1252.h"

namespace veldra::registration {
namespace {

constexpr std::size_t QueryBufferSize = 256;

bool isStringType(platform::RegistryType type) {
    return type == platform::RegistryType::String || type == platform::RegistryType::ExpandString ||
           type == platform::RegistryType::MultiString;
}

}  // namespace

std::optional<std::string> queryRegistryText(const platform::Registry& registry, std::string_view key,
                                             std::string_view name) {
    const auto value = registry.queryValue(platform::RegistryRoot::LocalMachine, key, name);
    if (!value) return std::nullopt;
    // What an ANSI query hands back: strings in the code page with their NUL,
    // other types as stored.
    const std::string bytes = isStringType(value->type) ? platform::utf8ToCp1252(value->text()) + '\0'
                                                        : std::string(value->data.begin(), value->data.end());
    if (bytes.size() > QueryBufferSize) return std::nullopt;
    return platform::cp1252ToUtf8(std::string_view(bytes).substr(0, bytes.find('\0')));
}

}  // namespace veldra::registration
