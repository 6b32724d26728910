#pragma once
// Numbers in the catalog's texts.

#include <cstdint>
#include <optional>
#include <string_view>

namespace veldra::registration {

// The number when the text is one (blanks around allowed), else nothing:
// marker texts such as "Fehler" are no numbers.
std::optional<std::uint32_t> wholeNumber(std::string_view text);

// The value of the digits the text starts with (after blanks); 0 when there are none.
std::uint32_t leadingNumber(std::string_view text);

}  // namespace veldra::registration
