#include "registration/NumberText.h"

#include <charconv>

namespace veldra::registration {
namespace {

std::string_view withoutLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace

std::optional<std::uint32_t> wholeNumber(std::string_view text) {
    text = withoutLeadingBlanks(text);
    const auto last = text.find_last_not_of(' ');
    if (last == std::string_view::npos) return std::nullopt;
    text = text.substr(0, last + 1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::uint32_t leadingNumber(std::string_view text) {
    text = withoutLeadingBlanks(text);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

}  // namespace veldra::registration
