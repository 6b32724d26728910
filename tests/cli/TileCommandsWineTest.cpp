// `veldra tiles` and `veldra draw-priority` on a mapset integrated into a
// prefix that Wine made, with one tile stored XOR-encoded.

#include <gtest/gtest.h>

#include <tuple>

#include <nlohmann/json.hpp>

#include "platform/RegistryPath.h"
#include "support/FileBytes.h"
#include "support/MapFiles.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::shellQuote;

const std::vector<std::string> Tiles = {"11000001.img", "11000002.img", "11000003.img"};

class TileCommandsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = testing::WineTestPrefix::path();
        tiles = prefix / "drive_c" / "maps" / "alps";
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    }

    // Installs fresh copies of the tiles as mapset "Alps" with `how`: "--registry" or
    // "--gmap". FID 5311 is taken by no other test of the prefix they share.
    void integrate(const std::string& how) const {
        fs::create_directories(tiles);
        for (const std::string& tile : Tiles)
            fs::copy_file(testing::builtData("alpha") / tile, tiles / tile, fs::copy_options::overwrite_existing);
        std::string arguments;
        for (const std::string& tile : Tiles) arguments += " " + shellQuote((tiles / tile).string());
        const auto integrated = veldra("integrate --name Alps --fid 5311 " + how + arguments);
        ASSERT_EQ(integrated.status, 0) << integrated.output;
    }

    // Registered in the registry, with the second tile as a host program may
    // also find it: every byte XORed with 0x5A.
    void integrateWithXoredTile() const {
        integrate("--registry");
        testing::writeBytes(tiles / Tiles[1], testing::xored(testing::readBytes(tiles / Tiles[1]), 0x5A));
    }

    // The tests of one run share the prefix.
    void TearDown() override {
        if (prefix.empty()) return;
        veldra("--yes remove Alps");
        fs::remove_all(tiles);
    }

    // Exit code and everything `veldra` printed, once Wine's server has saved the registry.
    testing::CommandResult veldra(const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments);
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

// One test: Wine takes long to make a prefix.
TEST_F(TileCommandsWineTest, ListsTheTilesAndChangesTheirDrawPriorityInImagesAndPackages) {
    ASSERT_NO_FATAL_FAILURE(integrateWithXoredTile());
    const auto listed = veldra("tiles Alps --json");
    ASSERT_EQ(listed.status, 0) << listed.output;
    const auto json = nlohmann::json::parse(listed.output);
    EXPECT_EQ(json["kind"], "IMG");
    // Paths as this computer names them, not the registry's host paths.
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(json["folder"].get<std::string>(), tiles, ec)) << json["folder"];
    ASSERT_EQ(json["tiles"].size(), 3u) << listed.output;
    EXPECT_EQ(json["tiles"][1]["number"], 11000002);
    EXPECT_EQ(json["tiles"][1]["description"], "Veldra Alpha (11000002)");
    EXPECT_TRUE(fs::equivalent(json["tiles"][1]["file"].get<std::string>(), tiles / Tiles[1], ec));
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{25, 25, 25}));

    // The bytes written are DrawPriorityChangeTest's; here the values as listed, the XOR byte kept.
    const auto changed = veldra("draw-priority Alps 20");
    EXPECT_EQ(std::tie(changed.status, changed.output), std::make_tuple(0, "DrawPriority was changed for 3 Files\n"));
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(testing::readBytes(tiles / Tiles[1])[0], 0x5A);
    const auto text = veldra("tiles 5311");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.output.find("11000002.img  =  Veldra Alpha (11000002)  ; Drawpriority = 20\n"), std::string::npos)
        << text.output;

    // The typed text reaches the field's rules (TileTasksTest holds the others).
    EXPECT_EQ(veldra("draw-priority Alps 32").status, 0);
    EXPECT_EQ(listedDrawPriorities(), (std::vector<int>{30, 30, 30}));

    // Package tiles are listed and changed in their TRE files.
    ASSERT_EQ(veldra("--yes remove Alps").status, 0);
    ASSERT_NO_FATAL_FAILURE(integrate("--gmap"));
    const auto packageListed = veldra("tiles Alps");
    EXPECT_EQ(packageListed.status, 0);
    const auto folderEnd = packageListed.output.find('\n');
    // The host finds folders whatever the case of their letters; an earlier test
    // of this prefix may have made the package folder's parents as "Garmin".
    const auto caseBlind = [](const fs::path& path) { return platform::foldCase(fs::weakly_canonical(path).string()); };
    EXPECT_EQ(caseBlind(packageListed.output.substr(0, folderEnd)),
              caseBlind(prefix / "drive_c" / "ProgramData" / "GARMIN" / "Maps" / "Alps.gmap"))
        << packageListed.output;
    EXPECT_EQ(packageListed.output.substr(folderEnd + 1),
              "11000001=  Veldra Alpha (11000001) ; DP = 25\n"
              "11000002=  Veldra Alpha (11000002) ; DP = 25\n"
              "11000003=  Veldra Alpha (11000003) ; DP = 25\n");

    const auto packageChanged = veldra("draw-priority 5311 12");
    EXPECT_EQ(std::tie(packageChanged.status, packageChanged.output),
              std::make_tuple(0, "DrawPriority was changed for 3 Files\n"));
    EXPECT_NE(veldra("tiles Alps").output.find("11000003=  Veldra Alpha (11000003) ; DP = 12\n"), std::string::npos);
}

}  // namespace
}  // namespace veldra
