#include "formats/Crc32.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace veldra::formats {
namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

TEST(Crc32, MatchesTheCommonCheckValuesAndGivesZeroForNothing) {
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytesOf("The quick brown fox jumps over the lazy dog")), 0x414FA339u);
    EXPECT_EQ(crc32({}), 0u);
    // Another initial register gives another checksum of the same bytes.
    EXPECT_NE(crc32(bytesOf("123456789"), 0), crc32(bytesOf("123456789")));
}

}  // namespace
}  // namespace veldra::formats
