#pragma once
// Replacing text in place, as the Info.xml and overview source edits do.

#include <string>
#include <string_view>

namespace veldra::app {

// Replaces every occurrence, going on after each replacement, so a
// replacement that contains `from` is not replaced again.
inline void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace veldra::app
