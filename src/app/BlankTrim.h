#pragma once
// Trimming blanks (only the space character, as the program's text routines do).

#include <string_view>

namespace veldra::app {

inline std::string_view trimRight(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

inline std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : trimRight(text.substr(first));
}

}  // namespace veldra::app
