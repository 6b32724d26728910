#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace veldra {
namespace {

using namespace platform;

// Every byte survives the round trip; unmappable and broken input becomes question marks.
TEST(Cp1252, BytesMapAsWindowsMapsThem) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8(std::string("\x80\xDF\xD6", 3)), "€ßÖ");
    EXPECT_EQ(cp1252ToUtf8(std::string("\x81", 1)), "\xC2\x81");
    EXPECT_EQ(utf8ToCp1252("Œ€"), "\x8C\x80");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");
    EXPECT_EQ(utf8ToCp1252("\xE2\x82"), "?");
}

TEST(Cp1252, Utf16HandlesSurrogatePairs) {
    const std::string text = "A€\xF0\x9F\x97\xBA";  // ends with U+1F5FA
    const std::u16string units = utf8ToUtf16(text);
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[2], 0xD83D);
    EXPECT_EQ(utf16ToUtf8(units), text);
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8Length(text), 3u);
}

TEST(Cp1252, ValidUtf8KeepsGoodTextAndReplacesEachMalformedPiece) {
    const std::string good = "S\xC3\xBC" "d \xF0\x9F\x97\xBA";
    EXPECT_EQ(validUtf8(good), good);
    EXPECT_EQ(validUtf8("S\xFC" "d"), "S\uFFFDd");
    EXPECT_EQ(validUtf8("\xC3"), "\uFFFD");                      // cut short
    EXPECT_EQ(validUtf8("\xC0\xAF"), "\uFFFD");                  // overlong "/"
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), "\uFFFD");              // a surrogate
    EXPECT_EQ(validUtf8("a\xE2\x82z"), "a\uFFFDz");
}

}  // namespace
}  // namespace veldra
