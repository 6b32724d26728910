#pragma once
// Small text edits shared by every layer: trimming blanks (only the space
// character, as the program's text routines do) and replacing text.

#include <string>
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

// Replaces every occurrence, going on after each replacement, so a
// replacement that contains `from` is not replaced again.
inline void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace veldra::app
