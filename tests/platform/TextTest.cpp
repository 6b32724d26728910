#include "platform/Text.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace veldra {
namespace {

using namespace platform;

TEST(TextTest, TrimmingTakesOnlyItsOwnCharactersAndCaseIsIgnoredForAsciiOnly) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimTrailingBlanks("  a  "), "  a");
    EXPECT_EQ(trimWhitespace(" \t a b\r\n"), "a b");
    EXPECT_EQ(trimWhitespace("\r\n"), "");
    // Letter case of ASCII only is ignored.
    EXPECT_TRUE(equalsIgnoringAsciiCase("Info.XML", "info.xml"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("info.xml", "info.xm"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä are not ASCII
    EXPECT_EQ(toLowerAscii("TRE.GmP-\xC3\x84"), "tre.gmp-\xC3\x84");
}

TEST(TextTest, DecimalNumbersAreTheWholeTextAndFitTheirType) {
    EXPECT_EQ(parseDecimal<std::uint16_t>("65535"), 65535);
    EXPECT_EQ(parseDecimal<std::uint16_t>("65536"), std::nullopt);
    EXPECT_EQ(parseDecimal<std::int16_t>("-32768"), -32768);
    EXPECT_EQ(parseDecimal<std::uint32_t>("-1"), std::nullopt);
    for (const std::string_view text : {"", " 1", "1 ", "+1", "1a", "0x10"})
        EXPECT_EQ(parseDecimal<std::uint32_t>(text), std::nullopt) << text;
}

}  // namespace
}  // namespace veldra
