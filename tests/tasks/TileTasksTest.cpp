// The draw priority change as the user starts it: the typed value decides
// whether anything is written, and the mapset is named as in the catalog.

#include "tasks/TileTasks.h"

#include <stop_token>
#include <tuple>

#include "registration/TileTestSupport.h"
#include "support/ProgressRecord.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class TileTasksTest : public testing::TileMapsetTest {
protected:
    void SetUp() override {
        TileMapsetTest::SetUp();
        folder = installAlphaWithTiles();
        before = tileBytes();
    }
    fs::path tilePath(const std::string& tile) const { return folder / (tile + ".img"); }
    std::vector<testing::Bytes> tileBytes() const {
        std::vector<testing::Bytes> bytes;
        for (const std::string& tile : testing::AlphaTiles) bytes.push_back(testing::readBytes(tilePath(tile)));
        return bytes;
    }

    fs::path folder;
    std::vector<testing::Bytes> before;
};

TEST_F(TileTasksTest, EmptyZeroOrUnknownWriteNothingAndHighValuesBecomeThirty) {
    const auto empty = tasks::changeDrawPriority(fake.session, {{"4711", std::nullopt}, " "});
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.texts(), Texts{"Es ist keine DP eingetragen. Geben Sie eine DP ein."});
    fake.dialogs.messages.clear();
    for (const auto& [mapset, typed, kind] : {std::tuple{"4711", "0", FailureKind::Declined},
                                              {"4711", "none", FailureKind::Declined},
                                              {"Nowhere", "20", FailureKind::Error}}) {
        const auto refused = tasks::changeDrawPriority(fake.session, {{mapset, std::nullopt}, typed});
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.failure().kind, kind) << typed;
    }
    EXPECT_TRUE(fake.dialogs.messages.empty());
    EXPECT_EQ(tileBytes(), before);

    ASSERT_TRUE(tasks::changeDrawPriority(fake.session, {{"Veldra Alpha", std::nullopt}, "45"}).ok());
    for (const std::string& tile : testing::AlphaTiles) EXPECT_EQ(storedDrawPriority(tilePath(tile)), 30) << tile;
    ASSERT_TRUE(tasks::changeDrawPriority(fake.session, {{"4711", std::nullopt}, "31"}).ok());
    for (const std::string& tile : testing::AlphaTiles) EXPECT_EQ(storedDrawPriority(tilePath(tile)), 31) << tile;
    EXPECT_EQ(fake.dialogs.texts(),
              (Texts{"DrawPriority was changed for 3 Files", "DrawPriority was changed for 3 Files"}));
    const auto listed = tasks::listTiles(fake.session, {"4711", std::nullopt});
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(listed->line(listed->tiles[1]), "11000002.img  =  Veldra Alpha (11000002)  ; Drawpriority = 31");
}

TEST_F(TileTasksTest, AStoppedRunEndsAfterTheFileBeingWrittenAndTellsHowManyChanged) {
    std::stop_source stopping;
    testing::Counts told;
    // Cancelled while the first file is written.
    const auto stopAfterFirst = [&](std::size_t done, std::size_t total) {
        told.emplace_back(done, total);
        if (done == 1) stopping.request_stop();
    };
    const auto changed =
        tasks::changeDrawPriority(fake.session, {{"4711", std::nullopt}, "12"}, stopAfterFirst, stopping.get_token());
    ASSERT_TRUE(changed.ok());
    EXPECT_EQ(*changed, 1u);
    EXPECT_EQ(told, (testing::Counts{{0, 3}, {1, 3}}));
    EXPECT_EQ(storedDrawPriority(tilePath(testing::AlphaTiles[0])), 12);
    for (std::size_t i = 1; i < testing::AlphaTiles.size(); ++i)
        EXPECT_EQ(testing::readBytes(tilePath(testing::AlphaTiles[i])), before[i]) << testing::AlphaTiles[i];
    EXPECT_EQ(fake.dialogs.texts(), Texts{"Stopped. DrawPriority was changed for 1 Files"});
}

}  // namespace
}  // namespace veldra
