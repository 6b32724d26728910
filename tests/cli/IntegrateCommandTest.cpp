// `veldra integrate` with our own outside programs on mkgmap's tiles, in a
// private prefix made for the test.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/IntegrateCommandFixture.h"
#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

TEST_F(IntegrateCommandTest, TilesBecomeAListedFamily) {
    auto run = veldra("integrate --name Alps --fid 4711 --registry " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Integration is now ready for use."), std::string::npos) << run.output;
    for (const char* made : {"Alpsoooo.tdb", "Alpsoooo.mp", "Alpsoooo.img"}) EXPECT_TRUE(fs::exists(tiles / made)) << made;

    auto list = veldra("list --json");
    ASSERT_EQ(list.status, 0) << list.output;
    EXPECT_NE(list.output.find("\"subkey\": \"Alpsoooo4711\\\\1\""), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("\"fid\": 4711"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("\"kind\": \"Families\""), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("\"tdb\": \"Z:" ), std::string::npos) << list.output;
    EXPECT_EQ(list.output.find("TDB-File fehlt"), std::string::npos) << list.output;

    // The same name or FID again is refused; the free FID search skips 4711.
    auto again = veldra("integrate --name Alps --registry " + tileArgs());
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.output.find("Such name is already existing."), std::string::npos) << again.output;
    auto sameFid = veldra("integrate --name Other --fid 4711 --registry " + tileArgs());
    EXPECT_EQ(sameFid.status, 1);
    EXPECT_NE(sameFid.output.find("ID-Nr. exists already."), std::string::npos) << sameFid.output;

    // Another name that begins alike would overwrite this mapset's files.
    const auto tdbBefore = testing::readBytes(tiles / "Alpsoooo.tdb");
    const auto overviewBefore = testing::readBytes(tiles / "Alpsoooo.img");
    auto sameBase = veldra("integrate --name 'Alpsoooo Two' --fid 4712 --registry " + tileArgs());
    EXPECT_EQ(sameBase.status, 1);
    EXPECT_NE(sameBase.output.find("Alpsoooo.img exists already."), std::string::npos) << sameBase.output;
    EXPECT_EQ(testing::readBytes(tiles / "Alpsoooo.tdb"), tdbBefore);
    EXPECT_EQ(testing::readBytes(tiles / "Alpsoooo.img"), overviewBefore);

    // Without its TDB the family keeps its FID, and the list says what is wrong.
    fs::remove(tiles / "Alpsoooo.tdb");
    const auto broken = nlohmann::json::parse(veldra("--json list").output);
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0]["problem"], "tdb-missing");
    EXPECT_TRUE(broken[0]["fid"].is_null());
    EXPECT_TRUE(broken[0]["typ"].is_null());
    auto reused = veldra("integrate --name Other --fid 4711 --registry " + tileArgs());
    EXPECT_EQ(reused.status, 1);
    EXPECT_NE(reused.output.find("ID-Nr. exists already."), std::string::npos) << reused.output;
    EXPECT_EQ(veldra("--yes remove Alpsoooo4711").status, 0);
}

TEST_F(IntegrateCommandTest, TheGivenTypeFileIsStampedWithTheMapsetsFid) {
    const fs::path junk = home.path() / "junk.typ";
    testing::writeText(junk, std::string(100, 'x'));
    auto refused = veldra("integrate --name Alps --fid 4800 --registry --typ " + junk.string() + " " + tileArgs());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("Not a type file"), std::string::npos) << refused.output;
    EXPECT_FALSE(fs::exists(tiles / "Alpsoooo.TYP"));

    const fs::path typ = fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "alpha.typ";
    auto run = veldra("integrate --name Alps --fid 4800 --registry --typ " + typ.string() + " " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;
    const auto stamped = testing::readBytes(tiles / "Alpsoooo.TYP");
    ASSERT_GT(stamped.size(), 0x30u);
    EXPECT_EQ(stamped[0x2F], 0xC0);
    EXPECT_EQ(stamped[0x30], 0x12);
}

TEST_F(IntegrateCommandTest, WrongInputIsRefusedClearlyAndChangesNoRegistryFile) {
    const fs::path prefix = home.path() / "veldra" / "prefix";
    const auto systemBefore = testing::readBytes(prefix / "system.reg");
    const auto userBefore = testing::readBytes(prefix / "user.reg");

    auto mixed = veldra("integrate --name Alps --registry " + (tiles / "11000001.img").string() + " " +
                        (home.path() / "11000002.img").string());
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.output.find("Img-files must placed all in same folder."), std::string::npos) << mixed.output;

    fs::copy_file(tiles / "11000001.img", tiles / "readme.img");
    auto wrongName = veldra("integrate --name Alps --registry " + (tiles / "readme.img").string());
    EXPECT_EQ(wrongName.status, 1);
    EXPECT_NE(wrongName.output.find("You try to integrate files with wrong filename."), std::string::npos)
        << wrongName.output;
    EXPECT_EQ(veldra("integrate --name Alps").status, 2);
    auto unnamed = veldra("integrate --registry " + tileArgs());
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_NE(unnamed.output.find("name is empty"), std::string::npos) << unnamed.output;

    for (const char* name : {"'Käse'", "A/B", "'Say \"Hi\"'", "Name_that_is_longer_than_forty_characters_x"}) {
        auto refused = veldra("integrate --registry --name " + std::string(name) + " " + tileArgs());
        EXPECT_EQ(refused.status, 1) << name << refused.output;
    }
    EXPECT_FALSE(fs::exists(tiles / "K.tdb"));

    auto missing = veldra("integrate --name Alps --registry " + (tiles / "11000001.img").string() + " " +
                          (tiles / "11000009.img").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("11000009.img"), std::string::npos) << missing.output;

    // Not even the folder the tiles were chosen from is kept.
    EXPECT_EQ(testing::readBytes(prefix / "system.reg"), systemBefore);
    EXPECT_EQ(testing::readBytes(prefix / "user.reg"), userBefore);
}

TEST_F(IntegrateCommandTest, WineReadsTheRegisteredFamily) {
    VELDRA_REQUIRE_WINE_PREFIX();
    const auto& prefix = testing::WineTestPrefix::path();
    ASSERT_EQ(veldraInWinePrefix("settings --os64 yes").status, 0);
    auto run = veldraInWinePrefix("integrate --name Alps --fid 4711 --registry " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;

    const auto query = testing::runCommand(testing::wineCommand(
        prefix, "wine reg query 'HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alpsoooo4711' /s"));
    ASSERT_EQ(query.status, 0) << query.output;
    const std::string hostFolder = "Z:" + tiles.string();
    std::string expectedFolder;
    for (char c : hostFolder) expectedFolder += c == '/' ? '\\' : c;
    EXPECT_NE(query.output.find("ID    REG_BINARY    6712"), std::string::npos) << query.output;
    EXPECT_NE(query.output.find("TDB    REG_SZ    " + expectedFolder + "\\Alpsoooo.TDB"), std::string::npos)
        << query.output;
    EXPECT_NE(query.output.find("BMAP    REG_SZ    " + expectedFolder + "\\Alpsoooo.img"), std::string::npos)
        << query.output;
    EXPECT_NE(query.output.find("LOC    REG_SZ    " + expectedFolder + "\\\r"), std::string::npos) << query.output;
}

}  // namespace
}  // namespace veldra
