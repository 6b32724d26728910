// gmt.exe -S with a list of tiles, run as the pipeline runs it, compared with
// what mkgmap writes for the same tiles.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/GmtBanner.h"
#include "formats/TdbChecksum.h"
#include "support/Commands.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

class GmtMakeMapset : public ::testing::Test {
protected:
    void SetUp() override {
        tiles = scratch / "Tiles";
        fs::create_directories(tiles);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
            fs::copy_file(builtData("alpha") / tile, tiles / tile);
    }

    void writeList(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        writeText(scratch / "list.txt", text);
    }

    std::vector<std::string> nativeList() const {
        return {(tiles / "11000001.img").string(), (tiles / "11000002.img").string(), (tiles / "11000003.img").string()};
    }

    CommandResult run(const std::string& outputDir, const std::string& listFile, const std::string& environment = "") {
        return runProgram(programDir() / "gmt.exe",
                          {"-S", "-f", "4711,1", "-m", "Veldra_Alpha", "-n", "Veldra_A", "-o", outputDir, "-c", "1252",
                           "-@", listFile},
                          environment);
    }

    TempDir scratch;
    fs::path tiles;
};

TEST_F(GmtMakeMapset, TdbAndOverviewSourceListTheTilesMkgmapLists) {
    writeList(nativeList());
    const CommandResult result = run(tiles.string(), (scratch / "list.txt").string());
    ASSERT_EQ(result.status, 0) << result.output;

    const auto bytes = readBytes(tiles / "Veldra_A.tdb");
    EXPECT_EQ(formats::checksumMatches(bytes), true);
    const auto ours = readTdbForTest(bytes);
    const auto mkgmaps = readTdbForTest(readBytes(builtData("alpha") / "11000000.tdb"));
    EXPECT_EQ(ours.fid, 4711);
    EXPECT_EQ(ours.pid, 1);
    EXPECT_EQ(ours.version, 407);
    EXPECT_EQ(ours.seriesName, "Veldra_Alpha");
    EXPECT_EQ(ours.codePage, 1252u);
    EXPECT_EQ(ours.overviewBox, mkgmaps.overviewBox);
    ASSERT_EQ(ours.tiles.size(), mkgmaps.tiles.size());
    for (std::size_t i = 0; i < ours.tiles.size(); ++i) {
        EXPECT_EQ(ours.tiles[i].number, mkgmaps.tiles[i].number);
        EXPECT_EQ(ours.tiles[i].box, mkgmaps.tiles[i].box);
        EXPECT_EQ(ours.tiles[i].sizes, mkgmaps.tiles[i].sizes);
        EXPECT_EQ(ours.tiles[i].names, mkgmaps.tiles[i].names);
        EXPECT_EQ(ours.tiles[i].description, mkgmaps.tiles[i].description);
        EXPECT_EQ(ours.tiles[i].parent, ours.overviewNumber);
    }
    EXPECT_EQ(ours.overviewNumber, 11000000u);

    // The overview source has one definition area per tile.
    const std::string source = readText(tiles / "Veldra_A.mp");
    EXPECT_NE(source.find("[IMG ID]\r\nID=11000000\r\n"), std::string::npos);
    EXPECT_NE(source.find("FamilyID=4711\r\n"), std::string::npos);
    for (const char* number : {"11000001", "11000002", "11000003"}) {
        EXPECT_NE(source.find("Type=0x4a\r\nLabel=Veldra Alpha~[0x1d]" + std::string(number) + "\r\n"),
                  std::string::npos)
            << number;
    }
    // The text the pipeline edits away is not there to begin with.
    EXPECT_EQ(source.find("Type=0x0b00"), std::string::npos);
}

TEST_F(GmtMakeMapset, PrintsTheBannerFirstAndWritesTheBatchFilesBesideTheTiles) {
    writeList(nativeList());
    fs::create_directories(scratch / "Out");
    const CommandResult result = run((scratch / "Out").string(), (scratch / "list.txt").string());
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output.substr(0, result.output.find('\n')), formats::GmtBanner);
    EXPECT_TRUE(fs::exists(scratch / "Out" / "Veldra_A.tdb"));
    EXPECT_TRUE(fs::exists(scratch / "Out" / "Veldra_A.mp"));
    const std::string install = readText(tiles / "install.bat");
    EXPECT_NE(install.find("\\Families\\Veldra_Alpha\" /reg:32 /f /v ID /t REG_BINARY /d \"6712\"\r\n"),
              std::string::npos);
    EXPECT_NE(readText(tiles / "uninstall.bat").find("reg delete"), std::string::npos);
}

TEST_F(GmtMakeMapset, AcceptsHostPathsOfDriveZ) {
    // Without dosdevices in the prefix, Z: is the root as in every Wine prefix.
    std::vector<std::string> hostLines;
    for (const auto& line : nativeList()) {
        std::string host = "Z:" + line;
        std::replace(host.begin(), host.end(), '/', '\\');
        hostLines.push_back(host);
    }
    writeList(hostLines);
    std::string hostList = "Z:" + (scratch / "list.txt").string();
    std::string hostTiles = "Z:" + tiles.string();
    std::replace(hostList.begin(), hostList.end(), '/', '\\');
    std::replace(hostTiles.begin(), hostTiles.end(), '/', '\\');
    const CommandResult result = run(hostTiles, hostList, "WINEPREFIX=" + (scratch / "no-prefix").string());
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(readTdbForTest(readBytes(tiles / "Veldra_A.tdb")).tiles.size(), 3u);
    EXPECT_NE(readText(tiles / "install.bat").find("/d \"" + hostTiles + "\\Veldra_A.tdb\""), std::string::npos);
}

TEST_F(GmtMakeMapset, BadInputFailsWithAReasonAndWritesNoTdb) {
    const std::string list = (scratch / "list.txt").string();
    auto expectFailure = [&](const std::string& why) {
        const CommandResult result = run(tiles.string(), list);
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_NE(result.output.find(why), std::string::npos) << result.output;
        EXPECT_FALSE(fs::exists(tiles / "Veldra_A.tdb"));
    };
    expectFailure("cannot read the list file");
    writeList({});
    expectFailure("names no tiles");
    writeList({(tiles / "missing.img").string()});
    expectFailure("is no tile");
    writeList({(tiles / "12345678.img").string()});
    expectFailure("cannot read");
    auto cut = readBytes(tiles / "11000002.img");
    cut.resize(3000);
    writeBytes(tiles / "11000002.img", cut);
    writeList(nativeList());
    expectFailure("11000002.img: the directory size");
}

TEST(GmtUsage, WrongCommandLinesExitWithTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"-S", "-o", "x"},
        {"-S", "-f", "70000,1", "-n", "B", "-o", "x", "-@", "list"},
        {"-S", "-n", "B", "-o", "x", "-@", "list"},
        {"-G", "-o", "x", "a.img", "b.img"},
        {"-g", "a.img"},
        {"-G", "-S", "-o", "x", "a.img"},
        {"-x", "-o", "x", "a.img"},
        {"-S", "-f"},
    };
    for (const auto& arguments : wrong) {
        const CommandResult result = runProgram(programDir() / "gmt.exe", arguments);
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_NE(result.output.find("usage: gmt.exe"), std::string::npos);
    }
}

}  // namespace
}  // namespace veldra::outside::test
