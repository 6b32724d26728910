#pragma once
// Code page 1252: the single-byte text the host programs read and write.
// Internal strings are UTF-8; conversion happens at this boundary only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veldra::platform {

// Every byte maps to one character; the five unassigned bytes map to the
// C1 controls of the same number, as Windows does, so decoding never fails.
std::string cp1252ToUtf8(std::string_view bytes);
std::string cp1252ToUtf8(const std::vector<std::uint8_t>& bytes);

// Characters without a code page 1252 byte become '?'. Invalid UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

// UTF-8 <-> UTF-16 code units; invalid input becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
// Appends one code point as one UTF-16 unit or a surrogate pair.
void appendUtf16(std::u16string& out, char32_t cp);
std::string utf16ToUtf8(std::u16string_view utf16);

// The text with every malformed UTF-8 sequence replaced by U+FFFD: names from
// the file system may hold any bytes, JSON and messages need valid UTF-8.
std::string validUtf8(std::string_view text);

// Number of characters (code points) in UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

}  // namespace veldra::platform
