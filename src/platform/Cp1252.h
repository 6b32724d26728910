#pragma once
// Code page 1252: the single-byte text the host programs read and write.
// Internal strings are UTF-8; conversion happens at this boundary only.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

// Sorts items stably by a UTF-8 text in the order of its code page 1252 bytes,
// the character codes the host programs compare (Unicode order would put the
// characters of bytes 0x80-0x9F, such as the euro sign, elsewhere).
template <class Item, class TextOf>
void sortByCp1252(std::vector<Item>& items, TextOf textOf) {
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) keys.emplace_back(utf8ToCp1252(textOf(items[i])), i);
    // std::string compares its bytes as unsigned characters; the index keeps equal texts in order.
    std::sort(keys.begin(), keys.end());
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const auto& key : keys) sorted.push_back(std::move(items[key.second]));
    items = std::move(sorted);
}

}  // namespace veldra::platform
