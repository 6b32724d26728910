// Setting one draw priority for all listed tiles: the rules of the typed
// value, exactly one byte written per tile file, the count message, and the
// refusal when a tile cannot be written.

#include "registration/DrawPriorityChange.h"

#include "registration/TileTestSupport.h"
#include "support/ProgressRecord.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::readTypedDrawPriority;
using Texts = std::vector<std::string>;

TEST(TypedDrawPriority, FollowsTheRulesOfTheDrawPriorityField) {
    struct Case {
        const char* typed;
        bool empty;
        int value;
    };
    for (const Case& c : {Case{"", true, 0}, {"   ", true, 0}, {"0", false, 0}, {"abc", false, 0}, {"5x", false, 0},
                          {"-3", false, 0}, {"1", false, 1}, {" 20 ", false, 20}, {"30", false, 30},
                          {"31", false, 31}, {"32", false, 30}, {"45", false, 30}, {"255", false, 30},
                          {"99999999999999999999999", false, 30}}) {
        const auto typed = readTypedDrawPriority(c.typed);
        EXPECT_EQ(typed.empty, c.empty) << '"' << c.typed << '"';
        EXPECT_EQ(typed.value, c.value) << '"' << c.typed << '"';
    }
}

class DrawPriorityChangeTest : public testing::TileMapsetTest {
protected:
    registration::TileListing listRegistry() {
        auto listing = registration::listRegistryTiles(fake.session, registryRecord());
        EXPECT_TRUE(listing.ok());
        return listing.ok() ? *listing : registration::TileListing{};
    }
};

TEST_F(DrawPriorityChangeTest, EveryRegistryTileGetsExactlyOneByteXorEncodedAsItsFile) {
    const fs::path folder = installAlphaWithTiles();
    std::vector<testing::Bytes> before;
    for (const std::string& tile : testing::AlphaTiles) before.push_back(testing::readBytes(folder / (tile + ".img")));
    const std::uint64_t offset = formats::readImgDrawPriority(folder / "11000001.img").byteOffset;

    const auto written = registration::writeDrawPriority(fake.session, listRegistry(), 20);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(*written, 3u);
    EXPECT_EQ(fake.dialogs.texts(), Texts{"DrawPriority was changed for 3 Files"});
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto after = testing::readBytes(folder / (testing::AlphaTiles[i] + ".img"));
        ASSERT_EQ(after.size(), before[i].size());
        EXPECT_EQ(testing::differingOffsets(before[i], after), std::vector<std::size_t>{offset});
        EXPECT_EQ(after[offset], i == 1 ? (20 ^ 0x5A) : 20);
    }
    for (const auto& tile : listRegistry().tiles) EXPECT_EQ(tile.lastDrawPriority(), 20);
}

TEST_F(DrawPriorityChangeTest, MissingTilesAreSkippedButTheMessageCountsEveryLine) {
    const fs::path folder = installAlphaWithTiles();
    fs::remove(folder / "11000002.img");

    testing::ProgressRecord progress;
    const auto written = registration::writeDrawPriority(fake.session, listRegistry(), 9, progress.callback());
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(*written, 3u);
    // Progress follows the files there are to write.
    EXPECT_EQ(progress.told, testing::countsUpTo(2));
    EXPECT_EQ(fake.dialogs.texts(), Texts{"DrawPriority was changed for 3 Files"});
    EXPECT_EQ(storedDrawPriority(folder / "11000001.img"), 9);
    EXPECT_EQ(storedDrawPriority(folder / "11000003.img"), 9);
    EXPECT_FALSE(fs::exists(folder / "11000002.img"));
}

TEST_F(DrawPriorityChangeTest, ATileThatCannotBeWrittenStopsTheChangeBeforeAnyByteIsWritten) {
    const fs::path folder = installAlphaWithTiles();
    const auto listing = listRegistry();
    const auto first = testing::readBytes(folder / "11000001.img");
    // Taken away between listing and writing, as a host program holding it open would.
    fs::remove(folder / "11000003.img");
    fs::create_directory(folder / "11000003.img");

    const auto written = registration::writeDrawPriority(fake.session, listing, 20);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().kind, FailureKind::AlreadyShown);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, "Close Mapsource first");
    EXPECT_EQ(fake.dialogs.messages[0].title, "VELDRA");
    EXPECT_EQ(fake.dialogs.messages[0].icon, app::MessageIcon::Critical);
    EXPECT_EQ(testing::readBytes(folder / "11000001.img"), first);
}

TEST_F(DrawPriorityChangeTest, PackageTilesAreWrittenPlainAndTheMessageCountsTheFilesWritten) {
    const fs::path product = installPackageWithTiles();
    const fs::path second = product / "11000003" / "11000003.gmp";
    fs::copy_file(product / "11000003" / "11000003.TRE", second);
    fs::remove(product / "11000001" / "11000001.TRE");
    const auto before = testing::readBytes(second);
    const std::uint64_t offset = formats::readGmapDrawPriority(second).byteOffset;

    const auto listing = registration::listPackageTiles(fake.session, packageRecord());
    ASSERT_TRUE(listing.ok());
    const auto written = registration::writeDrawPriority(fake.session, *listing, 31);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(*written, 3u);
    EXPECT_EQ(fake.dialogs.texts(), Texts{"DrawPriority was changed for 3 Files"});
    EXPECT_EQ(testing::differingOffsets(before, testing::readBytes(second)), std::vector<std::size_t>{offset});
    EXPECT_EQ(testing::readBytes(second)[offset], 31);
    const auto reread = registration::listPackageTiles(fake.session, packageRecord());
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->line(reread->tiles[2]), "11000003=  Veldra Alpha (11000003) ; DP = 31 ; DP = 31");
}

}  // namespace
}  // namespace veldra
