#pragma once
// Small text routines every layer needs, each in one place.

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace veldra::platform {

// Without the spaces at either end (only the space character, as the host's
// own text routines trim).
std::string_view trimBlanks(std::string_view text);
// Without spaces at the end.
std::string_view trimTrailingBlanks(std::string_view text);
// Without spaces, tabs, carriage returns and line feeds at either end (lines
// of text files written by hand).
std::string_view trimWhitespace(std::string_view text);

// Equal when only the letter case of A-Z differs.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// A-Z become a-z; every other byte stays.
std::string toLowerAscii(std::string_view text);

// The number the whole text spells in decimal digits (a '-' first for signed
// types), fitting T; nothing for anything else, blanks included.
template <class T>
std::optional<T> parseDecimal(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace veldra::platform
