#pragma once
// Helpers shared by the registry backends.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veldra::platform {

// The deepest key the registry holds, counted in path components.
inline constexpr std::size_t MaxKeyDepth = 512;

// Splits "A\B\C" into its components; empty components are dropped.
std::vector<std::string> splitKeyPath(std::string_view path);
// Joins components with single backslashes.
std::string joinKeyPath(const std::vector<std::string>& components);

// The lower case of one UTF-16 unit as wineserver compares names: every
// backend folds key and value names with this one function.
char16_t foldRegistryUnit(char16_t unit);
std::u16string foldRegistryName(std::u16string_view name);
// The same for UTF-8 text, and a comparison built on it.
std::string foldCase(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace veldra::platform
