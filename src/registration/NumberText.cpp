#include "registration/NumberText.h"

#include <charconv>

#include "platform/Text.h"

namespace veldra::registration {

std::optional<std::uint32_t> wholeNumber(std::string_view text) {
    return platform::parseDecimal<std::uint32_t>(platform::trimBlanks(text));
}

std::uint32_t leadingNumber(std::string_view text) {
    text = platform::trimBlanks(text);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

}  // namespace veldra::registration
