// The draw priority change as the user starts it: the typed value decides
// whether anything is written, and the mapset is named as in the catalog.

#include "tasks/TileTasks.h"

#include "registration/TileTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class TileTasksTest : public testing::TileMapsetTest {
protected:
    void SetUp() override {
        TileMapsetTest::SetUp();
        folder = installAlphaWithTiles();
        for (const std::string& tile : testing::AlphaTiles) before.push_back(testing::readBytes(tilePath(tile)));
    }
    fs::path tilePath(const std::string& tile) const { return folder / (tile + ".img"); }
    bool tilesUnchanged() const {
        for (std::size_t i = 0; i < before.size(); ++i)
            if (testing::readBytes(tilePath(testing::AlphaTiles[i])) != before[i]) return false;
        return true;
    }

    fs::path folder;
    std::vector<testing::Bytes> before;
};

TEST_F(TileTasksTest, EmptyOrZeroValuesWriteNothing) {
    const auto empty = tasks::changeDrawPriority(fake.session, {{"4711", std::nullopt}, " "});
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.texts(), Texts{"Es ist keine DP eingetragen. Geben Sie eine DP ein."});

    fake.dialogs.messages.clear();
    for (const char* typed : {"0", "none"}) {
        const auto zero = tasks::changeDrawPriority(fake.session, {{"4711", std::nullopt}, typed});
        ASSERT_FALSE(zero.ok());
        EXPECT_EQ(zero.failure().kind, FailureKind::Declined) << typed;
    }
    EXPECT_TRUE(fake.dialogs.messages.empty());
    EXPECT_TRUE(tilesUnchanged());
}

TEST_F(TileTasksTest, ValuesAboveThirtyOneBecomeThirtyAndThirtyOneStays) {
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

TEST_F(TileTasksTest, AnUnknownMapsetChangesNothing) {
    const auto changed = tasks::changeDrawPriority(fake.session, {{"Nowhere", std::nullopt}, "20"});
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().kind, FailureKind::Error);
    EXPECT_TRUE(tilesUnchanged());
}

}  // namespace
}  // namespace veldra
