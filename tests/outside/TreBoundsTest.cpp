// The TRE facts of mkgmap's tiles against what mkgmap wrote into its TDB.

#include <gtest/gtest.h>

#include "OutsideTestSupport.h"
#include "TdbTestReader.h"
#include "formats/ImgReader.h"
#include "formats/TreBounds.h"

namespace veldra::outside::test {
namespace {

std::vector<std::uint8_t> treOf(const std::string& tile) {
    const auto image = readBytes(builtData() / tile);
    const auto layout = formats::parseImgImage(image).layout;
    return formats::extractSubfile(image, *layout, *layout->find("TRE"));
}

TEST(TreBounds, AreTheBoundsOfMkgmapsTdb) {
    for (const char* family : {"alpha/11000000.tdb", "beta/00120000.tdb"}) {
        const auto tdb = readTdbForTest(readBytes(builtData() / family));
        for (const auto& tile : tdb.tiles) {
            char name[16];
            std::snprintf(name, sizeof name, "%08u.img", tile.number);
            const std::string folder = std::string(family).substr(0, std::string(family).find('/') + 1);
            const auto read = formats::parseTre(treOf(folder + name));
            ASSERT_TRUE(read.facts) << read.error;
            const auto& b = read.facts->bounds;
            EXPECT_EQ((TdbBox{b.north * 256, b.east * 256, b.south * 256, b.west * 256}), tile.box) << name;
            EXPECT_EQ(read.facts->mapId, tile.number);
        }
    }
}

TEST(TreBounds, LevelsAndDegrees) {
    const auto read = formats::parseTre(treOf("alpha/11000001.img"));
    ASSERT_TRUE(read.facts);
    EXPECT_EQ(read.facts->levelBits, (std::vector<std::uint8_t>{17, 18, 20, 22, 24}));
    EXPECT_NEAR(formats::mapUnitsToDegrees(read.facts->bounds.north), 47.01, 0.001);
    EXPECT_NEAR(formats::mapUnitsToDegrees(read.facts->bounds.west), 8.0, 0.001);
    EXPECT_NEAR(formats::mapUnitsToDegrees(-(1 << 23)), -180.0, 1e-9);
}

TEST(TreBounds, HostileHeadersAreRefused) {
    const auto tre = treOf("alpha/11000001.img");
    EXPECT_FALSE(formats::parseTre({tre.data(), 20}).facts);
    auto wrong = tre;
    wrong[4] = 'X';
    EXPECT_EQ(formats::parseTre(wrong).error, "no TRE header");
    auto farLevels = tre;
    farLevels[0x21 + 2] = 0x7F;
    EXPECT_NE(formats::parseTre(farLevels).error.find("level table"), std::string::npos);
    auto longHeader = tre;
    longHeader[1] = 0x40;  // header length beyond the subfile
    EXPECT_NE(formats::parseTre(longHeader).error.find("truncated"), std::string::npos);
}

}  // namespace
}  // namespace veldra::outside::test
