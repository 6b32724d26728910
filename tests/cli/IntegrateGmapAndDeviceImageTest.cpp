// `veldra integrate` beyond registry keys: tiles installed as a gmap package,
// and a gmapsupp.img taken apart into its mapsets.

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/IntegrateCommandFixture.h"
#include "gmap/GmapTestFiles.h"
#include "support/FileBytes.h"

namespace veldra {
namespace {

std::string contentOf(const fs::path& file) {
    const auto bytes = testing::readBytes(file);
    return {bytes.begin(), bytes.end()};
}

// The families a `list --json` shows, as "name FID key" lines in its order.
std::vector<std::string> registryFamilies(const std::string& listJson) {
    std::vector<std::string> families;
    for (const auto& record : nlohmann::json::parse(listJson))
        if (record["kind"] == "Families")
            families.push_back(record["name"].get<std::string>() + " " + record["fid"].dump() + " " +
                               record["subkey"].get<std::string>());
    return families;
}

TEST_F(IntegrateCommandTest, GmapPackageHoldsInfoXmlTdbAndOneFolderPerTile) {
    auto run = veldra("integrate --gmap --name 'Alpen & Test' --fid 4711 " + tileArgs());
    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path package = home.path() / "veldra/prefix/drive_c/ProgramData/GARMIN/Maps/Alpen & Test.gmap";
    EXPECT_EQ(contentOf(package / "Info.xml"), testing::packageInfoXml("Alpen &amp; Test", "4711", "Alpen_&amp;_.tdb"));
    const auto xml = testing::runCommand("python3 -c 'import xml.dom.minidom,sys; xml.dom.minidom.parse(sys.argv[1])' " +
                                         testing::shellQuote((package / "Info.xml").string()) + " 2>&1");
    EXPECT_EQ(xml.status, 0) << xml.output;

    EXPECT_TRUE(fs::is_regular_file(package / "Product1" / "Alpen_&_.tdb"));
    for (const char* made : {"Alpen_&_.tdb", "Alpen_&_.img", "Alpen_&_.mp"})
        EXPECT_FALSE(fs::exists(tiles / made)) << made;
    // Each folder holds the tile's subfiles as they stand in the image.
    for (const char* tile : {"11000001", "11000002", "11000003"}) {
        const std::string image = contentOf(tiles / (std::string(tile) + ".img"));
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(package / "Product1" / tile)) {
            const std::string subfile = contentOf(entry.path());
            EXPECT_FALSE(subfile.empty()) << entry.path();
            EXPECT_NE(image.find(subfile), std::string::npos) << entry.path();
            ++files;
        }
        EXPECT_GE(files, 3u) << tile;
    }
    EXPECT_FALSE(fs::is_empty(package / "Product1" / "mapset"));

    const auto list = nlohmann::json::parse(veldra("--json list").output);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(std::make_tuple(list[0]["kind"], list[0]["name"], list[0]["fid"], list[0]["problem"]),
              std::make_tuple("gmap", "Alpen & Test", 4711, nullptr));
}

class IntegrateDeviceImageTest : public IntegrateCommandTest {
protected:
    void SetUp() override {
        IntegrateCommandTest::SetUp();
        fs::create_directories(device);
        fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "gmapsupp" / "gmapsupp.img", device / "gmapsupp.img");
    }
    std::string image() const { return (device / "gmapsupp.img").string(); }
    fs::path device = home.path() / "device";
};

TEST_F(IntegrateDeviceImageTest, EachFamilyKeepsItsFidAndGetsItsOwnFolder) {
    auto run = veldra("integrate --keep-fid --registry " + image());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Veldra_Alpha\t4711\t1\t"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Veldra_Beta\t4712\t1\t"), std::string::npos) << run.output;
    for (const char* family : {"00004711", "00004712"})
        for (const char* file : {"mapset.tdb", "mapset.img", "mapset.mdx"})
            EXPECT_TRUE(fs::is_regular_file(device / "SplittMaps" / family / file)) << family << "/" << file;
    for (const char* file : {"00004711/11000003.img", "00004712/00120002.img"})
        EXPECT_TRUE(fs::is_regular_file(device / "SplittMaps" / file)) << file;
    for (const char* file : {"00004711/mapset.mp", "00004711/install.bat"})
        EXPECT_FALSE(fs::exists(device / "SplittMaps" / file)) << file;

    EXPECT_EQ(registryFamilies(veldra("--json list").output),
              (std::vector<std::string>{"Veldra_Alpha 4711 Veldra_Alpha4711\\1", "Veldra_Beta 4712 Veldra_Beta_4712\\1"}));

    // Again, into the same folder: only when the user agrees, and then with free FIDs.
    auto kept = veldra("--no integrate --new-fid --registry " + image());
    EXPECT_NE(kept.status, 0);
    EXPECT_NE(kept.output.find("Folder 'SplittMaps' already exists."), std::string::npos) << kept.output;
    auto again = veldra("--yes integrate --new-fid --registry " + image());
    ASSERT_EQ(again.status, 0) << again.output;
    EXPECT_NE(again.output.find("Veldra_Alpha\t10\t1\t"), std::string::npos) << again.output;
    EXPECT_NE(again.output.find("Veldra_Beta\t11\t1\t"), std::string::npos) << again.output;
}

TEST_F(IntegrateDeviceImageTest, AnImageWithoutFamilyInformationLeavesItsTiles) {
    // Without its MPS subfile the image no longer says which family a tile belongs to.
    auto bytes = testing::readBytes(device / "gmapsupp.img");
    const std::string text(bytes.begin(), bytes.end());
    const auto at = text.find("MAKEGMAPMPS");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 8] = 'X';
    testing::writeBytes(device / "gmapsupp.img", bytes);

    auto run = veldra("integrate --keep-fid --registry " + image());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Creation of tdb-file was not possible."), std::string::npos) << run.output;
    for (const char* tile : {"00120001", "00120002", "11000001", "11000002", "11000003"}) {
        const fs::path path = device / "SplittMaps" / (std::string(tile) + ".img");
        EXPECT_TRUE(fs::is_regular_file(path)) << tile;
        EXPECT_NE(run.output.find(path.string() + "\n"), std::string::npos) << run.output;
    }
    EXPECT_EQ(registryFamilies(veldra("--json list").output), std::vector<std::string>{});
}

TEST_F(IntegrateDeviceImageTest, ADamagedImageIsRefusedBeforeAnythingIsMade) {
    auto bytes = testing::readBytes(device / "gmapsupp.img");
    bytes.resize(3000);
    testing::writeBytes(device / "gmapsupp.img", bytes);
    auto run = veldra("integrate --keep-fid --registry " + image());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("This file is no device image that VELDRA can take apart: "), std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(device / "SplittMaps"));
}

}  // namespace
}  // namespace veldra
