#pragma once
// Helpers shared by the registry backends.

#include <string>
#include <string_view>
#include <vector>

namespace veldra::platform {

// Splits "A\B\C" into its components; empty components are dropped.
std::vector<std::string> splitKeyPath(std::string_view path);
// Joins components with single backslashes.
std::string joinKeyPath(const std::vector<std::string>& components);
// Case-insensitive comparison of names, as the registry compares them (ASCII
// letters and the Latin-1 letters of UTF-8 text fold alike).
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string foldCase(std::string_view s);

}  // namespace veldra::platform
