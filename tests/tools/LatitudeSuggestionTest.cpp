// The latitude proposed for a mapset from the tile bounds in its TDB.

#include "tools/LatitudeSuggestion.h"

#include <cmath>

#include <gtest/gtest.h>

#include "formats/TdbTileList.h"
#include "support/MapFiles.h"

namespace veldra {
namespace {

// A tile's north and south edge, in units of 360 / 2^32 degrees.
void setTileEdges(std::vector<std::uint8_t>& tdb, std::size_t block, double north, double south) {
    const auto put = [&](std::size_t offset, double degrees) {
        const auto units =
            static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(degrees * 4294967296.0 / 360)));
        for (std::size_t i = 0; i < 4; ++i) tdb[block + offset + i] = static_cast<std::uint8_t>(units >> (8 * i));
    };
    put(11, north);
    put(19, south);
}

class LatitudeSuggestionTest : public testing::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        alpha = testing::readBytes(testing::AlphaTdb);
        tiles = formats::listTdbTiles(alpha);
        ASSERT_EQ(tiles.size(), 3u);
    }
    std::vector<std::uint8_t> alpha;
    std::vector<formats::TdbTile> tiles;
};

TEST_F(LatitudeSuggestionTest, MiddleOfTheTilesMkgmapWrote) {
    // alpha's extracts lie between 47.00 and 47.05 N, beta's between 46.00 and 46.01 N.
    EXPECT_EQ(tools::suggestedLatitude(alpha), 47);
    EXPECT_EQ(tools::suggestedLatitude(testing::readBytes(testing::BetaTdb)), 46);
}

TEST_F(LatitudeSuggestionTest, TakesTheWholeAreaOfAllTiles) {
    setTileEdges(alpha, tiles[0].blockOffset, 48.9, 48.0);
    setTileEdges(alpha, tiles[1].blockOffset, 46.5, 46.0);
    setTileEdges(alpha, tiles[2].blockOffset, 47.2, 47.0);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 47);  // (48.9 + 46.0) / 2 = 47.45
    setTileEdges(alpha, tiles[2].blockOffset, 50.2, 47.0);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 48);  // 48.1
    // Edges in the wrong order still bound the area.
    setTileEdges(alpha, tiles[0].blockOffset, 44.0, 48.9);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 47);  // (50.2 + 44.0) / 2
}

TEST_F(LatitudeSuggestionTest, SouthernAndPolarAreasAreHeldToTheRange) {
    for (const auto& tile : tiles) setTileEdges(alpha, tile.blockOffset, -33.0, -35.2);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 34);
    for (const auto& tile : tiles) setTileEdges(alpha, tile.blockOffset, 89.0, 88.0);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 85);
    for (const auto& tile : tiles) setTileEdges(alpha, tile.blockOffset, 3.0, -1.0);
    EXPECT_EQ(tools::suggestedLatitude(alpha), 5);
}

TEST_F(LatitudeSuggestionTest, NothingWithoutTiles) {
    EXPECT_FALSE(tools::suggestedLatitude({}));
    // The header block alone.
    const std::vector<std::uint8_t> header(alpha.begin(), alpha.begin() + 3 + (alpha[1] | alpha[2] << 8));
    EXPECT_FALSE(tools::suggestedLatitude(header));
}

}  // namespace
}  // namespace veldra
