#include "gmap/PackageName.h"

#include "platform/Cp1252.h"

namespace veldra::gmap {
namespace {

// Code page 1252 and Unicode agree on the letters the table replaces
// (0xC0-0xFF), so the table works on code points and keeps the rest intact.
char16_t cleanedCharacter(char16_t c) {
    if (c == u' ' || c == u'/' || c == u'\\') return u'_';
    if ((c >= 0xC0 && c <= 0xC6) || (c >= 0xE0 && c <= 0xE6)) return u'A';
    if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8 || (c >= 0xF2 && c <= 0xF6) || c == 0xF8) return u'O';
    if ((c >= 0xD9 && c <= 0xDC) || (c >= 0xF9 && c <= 0xFC)) return u'U';
    return c;
}

}  // namespace

std::string cleanedMapsetName(std::string_view name) {
    std::u16string text = platform::utf8ToUtf16(name);
    for (auto& c : text) c = cleanedCharacter(c);
    return platform::utf16ToUtf8(text);
}

std::string asciiWithQuestionMarks(std::string_view name) {
    std::string ascii;
    for (const char32_t c : platform::utf8ToUtf16(name)) {
        // The second half of a surrogate pair was the same character.
        if (c >= 0xDC00 && c <= 0xDFFF) continue;
        ascii.push_back(c > 127 ? '?' : static_cast<char>(c));
    }
    return ascii;
}

}  // namespace veldra::gmap
