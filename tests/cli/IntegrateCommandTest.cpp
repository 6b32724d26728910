// `veldra integrate` with our own outside programs on mkgmap's tiles, in a
// private prefix made for the test.

#include <filesystem>
#include <string>
#include <tuple>

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
    // One start and one completion message, nothing else.
    EXPECT_EQ(run.output,
              "integration is started. wait...\nIntegration is now ready for use. Start 'MapSource'again.\n");
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
    EXPECT_EQ(std::make_tuple(broken[0]["problem"], broken[0]["fid"], broken[0]["typ"]),
              std::make_tuple("tdb-missing", nullptr, nullptr));
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
    EXPECT_NE(refused.output.find("This is not a type file (it does not begin with a type file header): " +
                                  junk.string()),
              std::string::npos)
        << refused.output;
    EXPECT_FALSE(fs::exists(tiles / "Alpsoooo.TYP"));

    const fs::path typ = fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "alpha.typ";
    auto run = veldra("integrate --name Alps --fid 4800 --registry --typ " + typ.string() + " " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(testing::fidAt(testing::readBytes(tiles / "Alpsoooo.TYP"), 0x2F), 4800);
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

// Wine's `reg query` reads what `integrate` and `register` wrote: tiles, a TDB
// without FID, and both families of a device image. One test: each start of a
// test program makes a prefix of its own.
TEST_F(IntegrateCommandTest, WineReadsTheRegisteredFamilies) {
    VELDRA_REQUIRE_WINE_PREFIX();
    ASSERT_EQ(veldraInWinePrefix("settings --os64 yes").status, 0);
    const auto query = [](const std::string& family) {
        const auto run = testing::runInWine(testing::WineTestPrefix::path(),
                                            "wine reg query 'HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\" +
                                                family + "' /s");
        EXPECT_EQ(run.status, 0) << family << run.output;
        return run.output;
    };
    std::string folder = "Z:" + tiles.string();
    for (char& c : folder) c = c == '/' ? '\\' : c;
    const auto expectLines = [](const std::string& output, const std::vector<std::string>& lines) {
        for (const std::string& line : lines) EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    };

    auto run = veldraInWinePrefix("integrate --name Alps --fid 4713 --registry " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(query("Alpsoooo4713"), {"ID    REG_BINARY    6912", "TDB    REG_SZ    " + folder + "\\Alpsoooo.TDB",
                                        "BMAP    REG_SZ    " + folder + "\\Alpsoooo.img",
                                        "LOC    REG_SZ    " + folder + "\\\r"});

    // A TDB without FID takes its PID as FID.
    for (const char* file : {"11000000.tdb", "11000000.img", "11000000.mdx", "11000000_mdr.img", "alpha.typ"})
        fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / file, tiles / file);
    auto bytes = testing::readBytes(tiles / "11000000.tdb");
    bytes[3] = 57, bytes[4] = 0, bytes[5] = 0, bytes[6] = 0;  // PID 57, no FID
    testing::writeBytes(tiles / "11000000.tdb", bytes);
    const auto at = [&](const char* file) { return " " + (tiles / file).string(); };
    run = veldraInWinePrefix("register --mdr" + at("11000000_mdr.img") + " --tdb" + at("11000000.tdb") + " --overview" +
                             at("11000000.img") + " --mdx" + at("11000000.mdx") + " --typ" + at("alpha.typ"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Veldra_Alpha\t57\t1\t"), std::string::npos) << run.output;
    expectLines(query("Veldra_Alpha57"),
                {"ID    REG_BINARY    3900", "Typ    REG_SZ    " + folder + "\\570.Typ",
                 "IDX    REG_SZ    " + folder + "\\11000000.mdx", "MDR    REG_SZ    " + folder + "\\11000000_mdr.img",
                 "TDB    REG_SZ    " + folder + "\\11000000.tdb", "Bmap    REG_SZ    " + folder + "\\11000000.img",
                 "Loc    REG_SZ    " + folder + "\r"});
    EXPECT_EQ(testing::fidAt(testing::readBytes(tiles / "570.Typ"), 47), 57);
    EXPECT_EQ(testing::fidAt(testing::readBytes(tiles / "11000000.mdx"), 20), 57);
    const auto inspected = veldra("inspect --json " + (tiles / "11000000.tdb").string());
    const auto inspect = nlohmann::json::parse(inspected.output).at(0);
    EXPECT_EQ(std::make_tuple(inspect["fid"], inspect["pid"], inspect["checksumOk"]), std::make_tuple(57, 1, true));

    const fs::path device = home.path() / "device";
    fs::create_directories(device);
    fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "gmapsupp" / "gmapsupp.img", device / "gmapsupp.img");
    run = veldraInWinePrefix("integrate --keep-fid --registry " + (device / "gmapsupp.img").string());
    ASSERT_EQ(run.status, 0) << run.output;
    for (const std::string family : {"Veldra_Alpha4711", "Veldra_Beta_4712"})
        expectLines(query(family), {"mapset.tdb", "Typ    REG_SZ", "IDX    REG_SZ"});
}

}  // namespace
}  // namespace veldra
