#pragma once
// The keys of the [IMG ID] section of an overview source that gmt.exe writes
// and cgpsmapper.exe reads back. mkgmap ignores the keys it does not know, so
// the source stays an ordinary map source.

#include <string_view>

namespace veldra::outside::mpkeys {

inline constexpr std::string_view MapNumber = "ID";
inline constexpr std::string_view Name = "Name";
inline constexpr std::string_view CodePage = "CodePage";
inline constexpr std::string_view FamilyId = "FamilyID";
inline constexpr std::string_view ProductId = "ProductID";
inline constexpr std::string_view FamilyName = "FamilyName";
inline constexpr std::string_view SeriesName = "SeriesName";

// The definition area of one tile; its label is description, 0x1D, map number.
inline constexpr std::string_view DefinitionAreaType = "0x4a";
inline constexpr std::string_view LabelSeparator = "~[0x1d]";

}  // namespace veldra::outside::mpkeys
