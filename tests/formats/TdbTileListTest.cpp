#include "formats/TdbTileList.h"

#include <gtest/gtest.h>

#include "support/MapFiles.h"
#include "support/TdbTestReader.h"
#include "formats/TdbPackageWalk.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

std::vector<std::uint32_t> numbersOf(const std::vector<TdbTile>& tiles) {
    std::vector<std::uint32_t> numbers;
    for (const auto& tile : tiles) numbers.push_back(tile.number);
    return numbers;
}

std::vector<StrictBlock> tileBlocksOf(const std::vector<std::uint8_t>& tdb) {
    std::vector<StrictBlock> tiles;
    const auto blocks = strictTdbWalk(tdb).value();
    for (const auto& block : blocks)
        if (block.type == 0x4C) tiles.push_back(block);
    return tiles;
}

std::vector<std::uint8_t> firstBytes(const std::vector<std::uint8_t>& bytes, std::size_t count) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)};
}

class TdbTileListTest : public ScratchFolder {};

TEST_F(TdbTileListTest, ListsEveryTileMkgmapWroteBehindTheOtherBlocks) {
    // mkgmap puts the copyright, 0x52 and overview blocks between header and tiles.
    const auto alpha = readBytes(AlphaTdb);
    const auto tiles = listTdbTiles(alpha);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(imgTileLine(tiles[0]), "11000001.img  =  Veldra Alpha (11000001)");
    EXPECT_EQ(imgTileLine(tiles[2]), "11000003.img  =  Veldra Alpha (11000003)");
    EXPECT_EQ(gmpTileLine(tiles[1]), "11000002=  Veldra Alpha (11000002)");
    EXPECT_EQ(tiles[1].blockOffset, tileBlocksOf(alpha)[1].start);

    // Map numbers below 10,000,000 get their leading zeros.
    const auto beta = listTdbTiles(readBytes(BetaTdb));
    ASSERT_EQ(beta.size(), 2u);
    EXPECT_EQ(imgTileLine(beta[0]), "00120001.img  =  Veldra Beta (00120001)");
    EXPECT_EQ(tileFileName(123456789), "23456789");

    // The package writer's walk finds the same tiles.
    EXPECT_EQ(packageTileNumbers(alpha), numbersOf(tiles));
    EXPECT_EQ(packageTileNumbers(readBytes(BetaTdb)), numbersOf(beta));
}

TEST_F(TdbTileListTest, ANonTileBlockEndsTheRunButNotThePackageWalk) {
    auto alpha = readBytes(AlphaTdb);
    alpha[tileBlocksOf(alpha)[1].start] = 0x58;  // the second tile block becomes another type
    EXPECT_EQ(numbersOf(listTdbTiles(alpha)), (std::vector<std::uint32_t>{11000001}));
    EXPECT_EQ(packageTileNumbers(alpha), (std::vector<std::uint32_t>{11000001, 11000003}));
}

TEST_F(TdbTileListTest, TheBlockBehindTheHeaderIsNeverATile) {
    auto alpha = readBytes(AlphaTdb);
    const auto blocks = strictTdbWalk(alpha).value();
    alpha[blocks[1].start] = 0x4C;  // the copyright block claims to be a tile
    EXPECT_EQ(listTdbTiles(alpha).size(), 3u);
    EXPECT_EQ(packageTileNumbers(alpha).size(), 3u);
}

TEST_F(TdbTileListTest, TilesNearTheEndFollowTheTwentyEightByteRule) {
    const auto alpha = readBytes(AlphaTdb);
    const std::size_t third = tileBlocksOf(alpha)[2].start;

    // Starting exactly 28 bytes before the end: not read by either walk.
    const auto at28 = firstBytes(alpha, third + 28);
    EXPECT_EQ(listTdbTiles(at28).size(), 2u);
    EXPECT_EQ(packageTileNumbers(at28).size(), 2u);

    // 29 bytes: read, with the two description bytes there are.
    const auto at29 = firstBytes(alpha, third + 29);
    const auto tiles = listTdbTiles(at29);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[2].description, "Ve");
    EXPECT_EQ(packageTileNumbers(at29).size(), 3u);
}

TEST_F(TdbTileListTest, TheDescriptionTakesItsFirstByteAlwaysAndRunsToAZeroByte) {
    auto alpha = readBytes(AlphaTdb);
    const auto tiles = tileBlocksOf(alpha);
    alpha[tiles[0].start + 27] = 0;
    EXPECT_EQ(listTdbTiles(alpha)[0].description, std::string("\0eldra Alpha (11000001)", 23));
}

TEST(TdbTileListHostile, DamagedRunsEndTheListWithoutReadingPastTheEnd) {
    EXPECT_TRUE(listTdbTiles(std::vector<std::uint8_t>{}).empty());
    EXPECT_TRUE(listTdbTiles(std::vector<std::uint8_t>{0x50, 0x10}).empty());
    // Header length pointing past the end.
    std::vector<std::uint8_t> past = {0x50, 0xF0, 0xFF, 0x4C};
    past.resize(100, 0x4C);
    EXPECT_TRUE(listTdbTiles(past).empty());
    EXPECT_TRUE(packageTileNumbers(past).empty());

    // Zero-length blocks: header, one block, then a tile block with a zero length
    // followed by another tile: each is stepped over by its three bytes.
    std::vector<std::uint8_t> empty = {0x50, 0, 0, 0x44, 0, 0, 0x4C, 0, 0, 0x4C, 0, 0};
    empty.resize(80, 0);
    const auto tiles = listTdbTiles(empty);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[1].blockOffset, 9u);

    // A tile block whose length runs past the end: the list ends there.
    std::vector<std::uint8_t> runaway = {0x50, 0, 0, 0x44, 0, 0, 0x4C, 0xFF, 0xFF, 1, 0, 0, 0};
    runaway.resize(64, 'x');
    EXPECT_EQ(listTdbTiles(runaway).size(), 1u);
    EXPECT_EQ(packageTileNumbers(runaway), (std::vector<std::uint32_t>{1}));
}

}  // namespace
}  // namespace veldra::formats
