#include "registration/NumberText.h"

#include <charconv>

#include "app/TextEdits.h"

namespace veldra::registration {

std::optional<std::uint32_t> wholeNumber(std::string_view text) {
    text = app::trimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::uint32_t leadingNumber(std::string_view text) {
    text = app::trimBlanks(text);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

}  // namespace veldra::registration
