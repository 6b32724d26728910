// `veldra tiles` and `veldra draw-priority` on a mapset integrated into a
// prefix that Wine made, with one tile stored XOR-encoded.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/FileBytes.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::shellQuote;
using Bytes = std::vector<std::uint8_t>;

const std::vector<std::string> Tiles = {"11000001.img", "11000002.img", "11000003.img"};

class TileCommandsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = testing::WineTestPrefix::path();
        tiles = prefix / "drive_c" / "maps" / "alps";
        fs::create_directories(tiles);
        for (const std::string& tile : Tiles) fs::copy_file(testing::builtData("alpha") / tile, tiles / tile);
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
        std::string arguments;
        for (const std::string& tile : Tiles) arguments += " " + shellQuote((tiles / tile).string());
        const auto integrated = veldra("integrate --name Alps --fid 4711 --registry" + arguments);
        ASSERT_EQ(integrated.status, 0) << integrated.output;
        // The second tile as a host program may find it: every byte XORed with 0x5A.
        Bytes xored = testing::readBytes(tiles / Tiles[1]);
        for (auto& byte : xored) byte = static_cast<std::uint8_t>(byte ^ 0x5A);
        testing::writeBytes(tiles / Tiles[1], xored);
    }

    // The tests of one run share the prefix.
    void TearDown() override {
        if (prefix.empty()) return;
        veldra("--yes remove Alps");
        fs::remove_all(tiles);
    }

    // Exit code and everything `veldra` printed, once Wine's server has saved the registry.
    testing::CommandResult veldra(const std::string& arguments) const {
        testing::runCommand(testing::wineCommand(prefix, "wineserver -w"));
        return testing::runCommand(std::string(VELDRA_PROGRAM_DIR) + "/veldra --prefix " + shellQuote(prefix.string()) +
                                   " --lang Eng " + arguments + " </dev/null 2>&1");
    }

    std::vector<int> listedDrawPriorities() const {
        const auto listed = veldra("tiles Alps --json");
        EXPECT_EQ(listed.status, 0) << listed.output;
        const auto json = nlohmann::json::parse(listed.output);
        std::vector<int> values;
        for (const auto& tile : json["tiles"]) values.push_back(tile["drawPriority"]);
        return values;
    }

    fs::path prefix;
    fs::path tiles;
};

TEST_F(TileCommandsWineTest, ListsTheTilesAndChangesOneByteInEach) {
    const auto listed = veldra("tiles Alps --json");
    ASSERT_EQ(listed.status, 0) << listed.output;
    const auto json = nlohmann::json::parse(listed.output);
    EXPECT_EQ(json["kind"], "IMG");
    EXPECT_EQ(json["folder"], "C:\\maps\\alps");
    ASSERT_EQ(json["tiles"].size(), 3u) << listed.output;
    EXPECT_EQ(json["tiles"][1]["number"], 11000002);
    EXPECT_EQ(json["tiles"][1]["description"], "Veldra Alpha (11000002)");
    EXPECT_EQ(json["tiles"][1]["file"], "C:\\maps\\alps\\11000002.img");
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{25, 25, 25}));

    std::vector<Bytes> before;
    for (const std::string& tile : Tiles) before.push_back(testing::readBytes(tiles / tile));
    const auto changed = veldra("draw-priority Alps 20");
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.output, "DrawPriority was changed for 3 Files\n");
    for (std::size_t i = 0; i < Tiles.size(); ++i) {
        const auto after = testing::readBytes(tiles / Tiles[i]);
        ASSERT_EQ(after.size(), before[i].size());
        const auto offsets = testing::differingOffsets(before[i], after);
        ASSERT_EQ(offsets.size(), 1u) << Tiles[i];
        EXPECT_EQ(after[offsets[0]], i == 1 ? (20 ^ 0x5A) : 20) << Tiles[i];
    }
    const auto text = veldra("tiles 4711");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.output.find("11000002.img  =  Veldra Alpha (11000002)  ; Drawpriority = 20\n"), std::string::npos)
        << text.output;
}

TEST_F(TileCommandsWineTest, TheValueFollowsTheRulesOfTheDrawPriorityField) {
    std::vector<Bytes> before;
    for (const std::string& tile : Tiles) before.push_back(testing::readBytes(tiles / tile));
    const auto empty = veldra("draw-priority Alps ''");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.output, "Es ist keine DP eingetragen. Geben Sie eine DP ein.\n");
    EXPECT_EQ(veldra("draw-priority Alps 0").status, 1);
    for (std::size_t i = 0; i < Tiles.size(); ++i) EXPECT_EQ(testing::readBytes(tiles / Tiles[i]), before[i]);

    EXPECT_EQ(veldra("draw-priority Alps 32").status, 0);
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{30, 30, 30}));
    EXPECT_EQ(veldra("draw-priority Alps 31").status, 0);
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{31, 31, 31}));
}

}  // namespace
}  // namespace veldra
