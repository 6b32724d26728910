// gmt.exe on mkgmap's files: -S with a list of tiles as the pipeline runs it,
// -G and -S on the two-family gmapsupp.img, -g on a tile.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "formats/GmtBanner.h"
#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"
#include "formats/MdxStamp.h"
#include "formats/MpsRecords.h"
#include "formats/TdbChecksum.h"
#include "support/Commands.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;
using Names = std::vector<std::string>;

CommandResult gmt(const Names& arguments, const std::string& environment = "") {
    return runProgram(programDir() / "gmt.exe", arguments, environment);
}

// Subfile name -> bytes of an IMG file.
std::map<std::string, std::vector<std::uint8_t>> subfilesOf(const fs::path& img) {
    const auto image = readBytes(img);
    const auto read = formats::parseImgImage(image);
    EXPECT_TRUE(read.layout) << img << ": " << read.error;
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& subfile : read.layout ? read.layout->subfiles : std::vector<formats::ImgSubfile>{})
        files[subfile.fileName()] = formats::extractSubfile(image, *read.layout, subfile);
    return files;
}

// The image again without the subfiles `drop` names.
std::vector<std::uint8_t> rebuiltWithout(const fs::path& img, const std::string& drop) {
    const auto image = readBytes(img);
    const auto layout = formats::parseImgImage(image).layout;
    std::vector<formats::ImgFileToWrite> files;
    for (const auto& subfile : layout->subfiles)
        if (subfile.type != drop)
            files.push_back({subfile.name, subfile.type, formats::extractSubfile(image, *layout, subfile)});
    return formats::buildImg(files, {layout->description, layout->created}).image;
}

// The tiles of a TDB gmt.exe wrote are those mkgmap lists, under its overview map.
void expectMkgmapsTiles(const TdbTestFile& ours, const TdbTestFile& mkgmaps) {
    ASSERT_EQ(ours.tiles.size(), mkgmaps.tiles.size());
    for (std::size_t i = 0; i < ours.tiles.size(); ++i) {
        const auto& [a, b] = std::tie(ours.tiles[i], mkgmaps.tiles[i]);
        EXPECT_EQ(std::tie(a.number, a.box, a.sizes, a.names, a.description),
                  std::tie(b.number, b.box, b.sizes, b.names, b.description));
        EXPECT_EQ(a.parent, ours.overviewNumber);
    }
}

std::string hostPath(const fs::path& path) {
    std::string host = "Z:" + path.string();
    std::replace(host.begin(), host.end(), '/', '\\');
    return host;
}

class GmtMakeMapset : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tiles);
        for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) {
            fs::copy_file(builtData("alpha") / tile, tiles / tile);
            nativeList.push_back((tiles / tile).string());
        }
    }
    void writeList(const Names& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        writeText(scratch / "list.txt", text);
    }
    CommandResult run(const std::string& outputDir, const std::string& listFile, const std::string& environment = "") {
        return gmt({"-S", "-f", "4711,1", "-m", "Veldra_Alpha", "-n", "Veldra_A", "-o", outputDir, "-c", "1252", "-@",
                    listFile},
                   environment);
    }

    TempDir scratch;
    fs::path tiles = scratch / "Tiles";
    Names nativeList;
};

TEST_F(GmtMakeMapset, TdbAndOverviewSourceListTheTilesMkgmapLists) {
    writeList(nativeList);
    const CommandResult result = run(tiles.string(), (scratch / "list.txt").string());
    ASSERT_EQ(result.status, 0) << result.output;

    const auto bytes = readBytes(tiles / "Veldra_A.tdb");
    EXPECT_EQ(formats::checksumMatches(bytes), true);
    const auto ours = readTdbForTest(bytes);
    const auto mkgmaps = readTdbForTest(readBytes(AlphaTdb));
    EXPECT_EQ(std::tie(ours.fid, ours.pid, ours.version, ours.seriesName, ours.codePage, ours.overviewNumber),
              std::make_tuple(4711, 1, 407, "Veldra_Alpha", 1252u, 11000000u));
    EXPECT_EQ(ours.overviewBox, mkgmaps.overviewBox);
    expectMkgmapsTiles(ours, mkgmaps);
    // The overview source has one definition area per tile, and not the text the pipeline edits away.
    const std::string source = readText(tiles / "Veldra_A.mp");
    EXPECT_NE(source.find("[IMG ID]\r\nID=11000000\r\n"), std::string::npos);
    EXPECT_NE(source.find("FamilyID=4711\r\n"), std::string::npos);
    for (const char* number : {"11000001", "11000002", "11000003"})
        EXPECT_NE(source.find("Type=0x4a\r\nLabel=Veldra Alpha~[0x1d]" + std::string(number) + "\r\n"),
                  std::string::npos)
            << number;
    EXPECT_EQ(source.find("Type=0x0b00"), std::string::npos);
}

TEST_F(GmtMakeMapset, TakesHostPathsOfDriveZAndWritesTheBatchFilesBesideTheTiles) {
    // Without dosdevices in the prefix, Z: is the root as in every Wine prefix.
    Names hostLines;
    for (const auto& line : nativeList) hostLines.push_back(hostPath(line));
    writeList(hostLines);
    fs::create_directories(scratch / "Out");
    const std::string noPrefix = "WINEPREFIX=" + (scratch / "no-prefix").string();
    const CommandResult result = run(hostPath(scratch / "Out"), hostPath(scratch / "list.txt"), noPrefix);
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output.substr(0, result.output.find('\n')), formats::GmtBanner);
    EXPECT_EQ(readTdbForTest(readBytes(scratch / "Out" / "Veldra_A.tdb")).tiles.size(), 3u);
    EXPECT_TRUE(fs::exists(scratch / "Out" / "Veldra_A.mp"));
    const std::string install = readText(tiles / "install.bat");
    EXPECT_NE(install.find("\\Families\\Veldra_Alpha\" /reg:32 /f /v ID /t REG_BINARY /d \"6712\"\r\n"),
              std::string::npos);
    EXPECT_NE(install.find("/d \"" + hostPath(scratch / "Out") + "\\Veldra_A.tdb\""), std::string::npos) << install;
    EXPECT_NE(readText(tiles / "uninstall.bat").find("reg delete"), std::string::npos);
}

TEST_F(GmtMakeMapset, BadInputFailsWithAReasonAndWritesNoTdb) {
    auto expectFailure = [&](const std::string& why) {
        const CommandResult result = run(tiles.string(), (scratch / "list.txt").string());
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_NE(result.output.find(why), std::string::npos) << result.output;
        EXPECT_FALSE(fs::exists(tiles / "Veldra_A.tdb"));
    };
    expectFailure("cannot read the list file");
    for (const auto& [lines, why] : {std::pair{Names{}, "names no tiles"},
                                     {Names{(tiles / "missing.img").string()}, "is no tile"},
                                     {Names{(tiles / "12345678.img").string()}, "cannot read"}}) {
        writeList(lines);
        expectFailure(why);
    }
    auto cut = readBytes(tiles / "11000002.img");
    cut.resize(3000);
    writeBytes(tiles / "11000002.img", cut);
    writeList(nativeList);
    expectFailure("11000002.img: the directory size");
}

TEST(GmtUsage, WrongCommandLinesExitWithTwo) {
    for (const Names& arguments : std::vector<Names>{
             {}, {"-S", "-o", "x"}, {"-S", "-f", "70000,1", "-n", "B", "-o", "x", "-@", "list"},
             {"-S", "-n", "B", "-o", "x", "-@", "list"}, {"-G", "-o", "x", "a.img", "b.img"}, {"-g", "a.img"},
             {"-G", "-S", "-o", "x", "a.img"}, {"-x", "-o", "x", "a.img"}, {"-S", "-f"}}) {
        const CommandResult result = gmt(arguments);
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_NE(result.output.find("usage: gmt.exe"), std::string::npos);
    }
}

class GmtSplit : public ::testing::Test {
protected:
    // The pipeline's road: split into families, move each into its folder, split it.
    fs::path splitFamily(const std::string& fid) {
        const fs::path folder = splitt / fid;
        fs::create_directories(folder);
        fs::rename(splitt / (fid + ".img"), folder / (fid + ".img"));
        const CommandResult result = gmt({"-S", "-o", folder.string(), (folder / (fid + ".img")).string()});
        EXPECT_EQ(result.status, 0) << result.output;
        return folder;
    }

    TempDir scratch;
    fs::path gmapsupp = builtData("gmapsupp/gmapsupp.img");
    fs::path splitt = scratch / "SplittMaps";
};

TEST_F(GmtSplit, GivesOneImagePerFamilyAndItsTilesWithMkgmapsBytes) {
    const CommandResult result = gmt({"-G", "-o", splitt.string(), gmapsupp.string()});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(namesIn(splitt), (Names{"00004711.img", "00004712.img"}));
    const auto alpha = subfilesOf(splitt / "00004711.img");
    EXPECT_EQ(alpha.size(), 12u);  // MPS, 3 tiles of 3, type file, sort file
    EXPECT_EQ(alpha.count("00004711.SRT"), 1u);
    const auto mps = formats::parseMps(alpha.at("MAKEGMAP.MPS"));
    ASSERT_TRUE(mps.contents);
    ASSERT_EQ(mps.contents->families.size(), 1u);
    EXPECT_EQ(std::make_tuple(mps.contents->tiles.size(), mps.contents->families[0].fid, mps.contents->mapsetName),
              std::make_tuple(3u, 4711, "OSM map set"));
    EXPECT_EQ(subfilesOf(splitt / "00004712.img").at("0000BETA.TYP"), readBytes(builtData("beta") / "beta.typ"));
    // Written piece by piece, byte for byte the image the writer makes in memory.
    EXPECT_EQ(readBytes(splitt / "00004711.img"), rebuiltWithout(splitt / "00004711.img", ""));

    // A family's tiles keep their subfiles byte for byte.
    const fs::path folder = splitFamily("00004711");
    EXPECT_EQ(namesIn(folder), (Names{"00004711.img", "000ALPHA.typ", "11000001.img", "11000002.img", "11000003.img",
                                      "install.bat", "mapset.mp", "mapset.tdb", "uninstall.bat"}));
    for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"})
        EXPECT_EQ(subfilesOf(folder / tile), subfilesOf(builtData("alpha") / tile)) << tile;
    EXPECT_EQ(readBytes(folder / "000ALPHA.typ"), readBytes(builtData("alpha") / "alpha.typ"));
    const auto tdbBytes = readBytes(folder / "mapset.tdb");
    EXPECT_EQ(formats::checksumMatches(tdbBytes), true);
    const auto tdb = readTdbForTest(tdbBytes);
    EXPECT_EQ(std::tie(tdb.fid, tdb.familyName), std::make_tuple(4711, "Veldra Alpha"));
    expectMkgmapsTiles(tdb, readTdbForTest(readBytes(AlphaTdb)));

    // The mapset source gives the overview map, a TDB of its own and the index.
    const fs::path compiler = programDir() / "Version97c" / "cgpsmapper.exe";
    const CommandResult compiled = runProgram(compiler, {(folder / "mapset.mp").string()});
    ASSERT_EQ(compiled.status, 0) << compiled.output;
    const auto overview = readTdbForTest(readBytes(folder / "mapset.tdb"));
    EXPECT_EQ(std::make_tuple(overview.fid, overview.familyName, overview.tiles.size()),
              std::make_tuple(4711, "Veldra Alpha", 3u));
    EXPECT_EQ(formats::parseImgImage(readBytes(folder / "mapset.img")).error, "");
    const auto mdx = formats::readMdx(folder / "mapset.mdx");
    ASSERT_TRUE(mdx.records) << mdx.error;
    ASSERT_EQ(mdx.records->size(), 3u);
    EXPECT_EQ((*mdx.records)[0].fid, 4711);
}

TEST_F(GmtSplit, MkgmapBuildsAMapsetFromTheSplitTiles) {
    ASSERT_EQ(gmt({"-G", "-o", splitt.string(), gmapsupp.string()}).status, 0);
    const fs::path folder = splitFamily("00004712");
    const CommandResult compiled = runProgram(
        "java", {"-jar", (programDir() / "mkgmap.jar").string(), "--output-dir=" + (scratch / "out").string(),
                 "--tdbfile", "--family-id=4712", "--overview-mapname=check", (folder / "00120001.img").string(),
                 (folder / "00120002.img").string()});
    ASSERT_EQ(compiled.status, 0) << compiled.output;
    const auto tdb = readTdbForTest(readBytes(scratch / "out" / "check.tdb"));
    ASSERT_EQ(tdb.tiles.size(), 2u);
    EXPECT_EQ(tdb.tiles[0].number, 120001u);
    EXPECT_EQ(tdb.tiles[1].sizes, readTdbForTest(readBytes(BetaTdb)).tiles[1].sizes);
}

TEST_F(GmtSplit, ImageWithoutFamilyInformationGivesNoFamiliesButItsTiles) {
    const fs::path bare = scratch / "gmapsupp.img";
    writeBytes(bare, rebuiltWithout(gmapsupp, "MPS"));
    fs::create_directories(splitt);
    const CommandResult families = gmt({"-G", "-o", splitt.string(), bare.string()});
    EXPECT_EQ(families.status, 0) << families.output;
    EXPECT_NE(families.output.find("carries no family information"), std::string::npos);
    EXPECT_TRUE(namesIn(splitt).empty());

    const CommandResult tiles = gmt({"-S", "-o", splitt.string(), bare.string()});
    EXPECT_EQ(tiles.status, 0) << tiles.output;
    EXPECT_EQ(namesIn(splitt), (Names{"00120001.img", "00120002.img", "11000001.img", "11000002.img", "11000003.img"}));
    EXPECT_EQ(subfilesOf(splitt / "00120002.img"), subfilesOf(builtData("beta") / "00120002.img"));
}

// Several families in one mapset, or a hostile image: a reason, and nothing written.
TEST_F(GmtSplit, RefusedImagesWriteNothing) {
    const CommandResult several = gmt({"-S", "-o", splitt.string(), gmapsupp.string()});
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.output.find("holds 2 map families"), std::string::npos) << several.output;
    EXPECT_FALSE(fs::exists(splitt / "mapset.tdb"));
    fs::remove_all(splitt);

    auto image = readBytes(gmapsupp);
    image[0x400 + 512 + 0x20] = 0xEE;  // the MPS subfile's block far beyond the end
    writeBytes(scratch / "bad.img", image);
    for (const char* option : {"-G", "-S", "-g"}) {
        const CommandResult result = gmt({option, "-o", splitt.string(), (scratch / "bad.img").string()});
        EXPECT_EQ(result.status, 1) << option;
        EXPECT_NE(result.output.find("MAKEGMAP.MPS reaches past the end"), std::string::npos) << result.output;
    }
    EXPECT_FALSE(fs::exists(splitt));
}

TEST(GmtUnpack, GivesTheTilesSubfilesByteForByte) {
    TempDir scratch;
    const fs::path tile = builtData("beta") / "00120001.img";
    const CommandResult result = gmt({"-g", "-o", scratch.path().string(), tile.string()});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(namesIn(scratch.path()), (Names{"00120001.LBL", "00120001.RGN", "00120001.TRE"}));
    for (const auto& [name, bytes] : subfilesOf(tile)) EXPECT_EQ(readBytes(scratch / name), bytes) << name;
}

}  // namespace
}  // namespace veldra::outside::test
