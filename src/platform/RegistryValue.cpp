#include "platform/Cp1252.h"
#include "platform/Registry.h"

namespace veldra::platform {

RegistryValue RegistryValue::fromString(std::string_view utf8, RegistryType type) {
    RegistryValue value;
    value.type = type;
    std::u16string units = utf8ToUtf16(utf8);
    units.push_back(u'\0');
    value.data.reserve(units.size() * 2);
    for (char16_t unit : units) {
        value.data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        value.data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return value;
}

RegistryValue RegistryValue::fromBytes(std::vector<std::uint8_t> bytes) {
    return RegistryValue{RegistryType::Binary, std::move(bytes)};
}

RegistryValue RegistryValue::fromDword(std::uint32_t number) {
    return RegistryValue{RegistryType::Dword,
                         {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::string RegistryValue::text() const {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0') break;
        units.push_back(unit);
    }
    return utf16ToUtf8(units);
}

}  // namespace veldra::platform
