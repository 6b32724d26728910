// The TRE facts of mkgmap's tiles against what mkgmap wrote into its TDB.
#include "formats/TreBounds.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "formats/ImgReader.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

std::vector<std::uint8_t> treOf(const std::string& tile) {
    const auto image = readBytes(builtData(tile));
    const auto layout = parseImgImage(image).layout;
    return extractSubfile(image, *layout, *layout->find("TRE"));
}

TEST(TreBounds, AreTheBoundsAndNumbersOfMkgmapsTdb) {
    for (const std::string family : {"alpha", "beta"}) {
        const auto tdb = readTdbForTest(readBytes(family == "alpha" ? AlphaTdb : BetaTdb));
        for (const auto& tile : tdb.tiles) {
            char name[16];
            std::snprintf(name, sizeof name, "%08u.img", tile.number);
            const auto read = parseTre(treOf(family + "/" + name));
            ASSERT_TRUE(read.facts) << read.error;
            const auto& b = read.facts->bounds;
            EXPECT_EQ((TdbBox{b.north * 256, b.east * 256, b.south * 256, b.west * 256}), tile.box) << name;
            EXPECT_EQ(read.facts->mapId, tile.number);
        }
    }
}

TEST(TreBounds, LevelsAndDegrees) {
    const auto read = parseTre(treOf("alpha/11000001.img"));
    ASSERT_TRUE(read.facts);
    EXPECT_EQ(read.facts->levelBits, (std::vector<std::uint8_t>{17, 18, 20, 22, 24}));
    EXPECT_NEAR(mapUnitsToDegrees(read.facts->bounds.north), 47.01, 0.001);
    EXPECT_NEAR(mapUnitsToDegrees(read.facts->bounds.west), 8.0, 0.001);
    EXPECT_NEAR(mapUnitsToDegrees(-(1 << 23)), -180.0, 1e-9);
}

TEST(TreBounds, HostileHeadersAreRefused) {
    const auto tre = treOf("alpha/11000001.img");
    EXPECT_FALSE(parseTre({tre.data(), 20}).facts);
    auto wrong = tre;
    wrong[4] = 'X';
    EXPECT_EQ(parseTre(wrong).error, "no TRE header");
    auto farLevels = tre;
    farLevels[0x21 + 2] = 0x7F;
    EXPECT_NE(parseTre(farLevels).error.find("level table"), std::string::npos);
    auto longHeader = tre;
    longHeader[1] = 0x40;  // header length beyond the subfile
    EXPECT_NE(parseTre(longHeader).error.find("truncated"), std::string::npos);
}

}  // namespace
}  // namespace veldra::formats
