// gmt.exe -G and -S on mkgmap's two-family gmapsupp.img, the road of a device
// image through the pipeline, and -g on a tile.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"
#include "formats/MpsRecords.h"
#include "formats/TdbChecksum.h"
#include "support/Commands.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

// Subfile name -> bytes of an IMG file.
std::map<std::string, std::vector<std::uint8_t>> subfilesOf(const fs::path& img) {
    const auto image = readBytes(img);
    const auto read = formats::parseImgImage(image);
    EXPECT_TRUE(read.layout) << img << ": " << read.error;
    std::map<std::string, std::vector<std::uint8_t>> files;
    if (!read.layout) return files;
    for (const auto& subfile : read.layout->subfiles)
        files[subfile.fileName()] = formats::extractSubfile(image, *read.layout, subfile);
    return files;
}

CommandResult gmt(const std::vector<std::string>& arguments) { return runProgram(programDir() / "gmt.exe", arguments); }

CommandResult mkgmap(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {"-jar", (programDir() / "mkgmap.jar").string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runProgram("java", all);
}

class GmtSplit : public ::testing::Test {
protected:
    TempDir scratch;
    fs::path gmapsupp = builtData("gmapsupp/gmapsupp.img");
    fs::path splitt = scratch / "SplittMaps";

    // The pipeline's road: split into families, move each into its folder, split it.
    fs::path splitFamily(const std::string& fid) {
        const fs::path folder = splitt / fid;
        fs::create_directories(folder);
        fs::rename(splitt / (fid + ".img"), folder / (fid + ".img"));
        const CommandResult result = gmt({"-S", "-o", folder.string(), (folder / (fid + ".img")).string()});
        EXPECT_EQ(result.status, 0) << result.output;
        return folder;
    }
};

TEST_F(GmtSplit, GivesOneImagePerFamilyAndItsTilesWithMkgmapsBytes) {
    const CommandResult result = gmt({"-G", "-o", splitt.string(), gmapsupp.string()});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(namesIn(splitt), (std::vector<std::string>{"00004711.img", "00004712.img"}));

    const auto alpha = subfilesOf(splitt / "00004711.img");
    std::vector<std::string> names;
    for (const auto& [name, bytes] : alpha) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"00004711.SRT", "000ALPHA.TYP", "11000001.LBL", "11000001.RGN",
                                               "11000001.TRE", "11000002.LBL", "11000002.RGN", "11000002.TRE",
                                               "11000003.LBL", "11000003.RGN", "11000003.TRE", "MAKEGMAP.MPS"}));
    const auto mps = formats::parseMps(alpha.at("MAKEGMAP.MPS"));
    ASSERT_TRUE(mps.contents);
    EXPECT_EQ(mps.contents->tiles.size(), 3u);
    ASSERT_EQ(mps.contents->families.size(), 1u);
    EXPECT_EQ(mps.contents->families[0].fid, 4711);
    EXPECT_EQ(mps.contents->mapsetName, "OSM map set");

    const auto beta = subfilesOf(splitt / "00004712.img");
    EXPECT_EQ(beta.size(), 9u);  // MPS, 2 tiles of 3, type file, sort file
    EXPECT_EQ(beta.at("0000BETA.TYP"), readBytes(builtData("beta") / "beta.typ"));

    // A family's tiles keep their subfiles byte for byte.
    const fs::path folder = splitFamily("00004711");
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"00004711.img", "000ALPHA.typ", "11000001.img",
                                                         "11000002.img", "11000003.img", "install.bat", "mapset.mp",
                                                         "mapset.tdb", "uninstall.bat"}));
    for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) {
        EXPECT_EQ(subfilesOf(folder / tile), subfilesOf(builtData("alpha") / tile)) << tile;
    }
    EXPECT_EQ(readBytes(folder / "000ALPHA.typ"), readBytes(builtData("alpha") / "alpha.typ"));

    const auto tdbBytes = readBytes(folder / "mapset.tdb");
    EXPECT_EQ(formats::checksumMatches(tdbBytes), true);
    const auto tdb = readTdbForTest(tdbBytes);
    EXPECT_EQ(tdb.fid, 4711);
    EXPECT_EQ(tdb.familyName, "Veldra Alpha");
    const auto mkgmaps = readTdbForTest(readBytes(AlphaTdb));
    ASSERT_EQ(tdb.tiles.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(tdb.tiles[i].box, mkgmaps.tiles[i].box);
        EXPECT_EQ(tdb.tiles[i].sizes, mkgmaps.tiles[i].sizes);
    }
}

TEST_F(GmtSplit, MkgmapBuildsAMapsetFromTheSplitTiles) {
    ASSERT_EQ(gmt({"-G", "-o", splitt.string(), gmapsupp.string()}).status, 0);
    const fs::path folder = splitFamily("00004712");
    const CommandResult compiled =
        mkgmap({"--output-dir=" + (scratch / "out").string(), "--tdbfile", "--family-id=4712",
                "--overview-mapname=check", (folder / "00120001.img").string(), (folder / "00120002.img").string()});
    ASSERT_EQ(compiled.status, 0) << compiled.output;
    const auto tdb = readTdbForTest(readBytes(scratch / "out" / "check.tdb"));
    ASSERT_EQ(tdb.tiles.size(), 2u);
    EXPECT_EQ(tdb.tiles[0].number, 120001u);
    EXPECT_EQ(tdb.tiles[1].sizes, readTdbForTest(readBytes(BetaTdb)).tiles[1].sizes);
}

TEST_F(GmtSplit, ImageWithoutFamilyInformationGivesNoFamiliesButItsTiles) {
    // The gmapsupp without its MPS subfile.
    const auto image = readBytes(gmapsupp);
    const auto layout = formats::parseImgImage(image).layout;
    std::vector<formats::ImgFileToWrite> files;
    for (const auto& subfile : layout->subfiles) {
        if (subfile.type != "MPS")
            files.push_back({subfile.name, subfile.type, formats::extractSubfile(image, *layout, subfile)});
    }
    const fs::path bare = scratch / "gmapsupp.img";
    writeBytes(bare, formats::buildImg(files, {layout->description, layout->created}).image);

    fs::create_directories(splitt);
    const CommandResult families = gmt({"-G", "-o", splitt.string(), bare.string()});
    EXPECT_EQ(families.status, 0) << families.output;
    EXPECT_NE(families.output.find("carries no family information"), std::string::npos);
    EXPECT_TRUE(namesIn(splitt).empty());

    const CommandResult tiles = gmt({"-S", "-o", splitt.string(), bare.string()});
    EXPECT_EQ(tiles.status, 0) << tiles.output;
    EXPECT_EQ(namesIn(splitt), (std::vector<std::string>{"00120001.img", "00120002.img", "11000001.img",
                                                         "11000002.img", "11000003.img"}));
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
    const CommandResult result = runProgram(programDir() / "gmt.exe", {"-g", "-o", scratch.path().string(), tile.string()});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(namesIn(scratch.path()), (std::vector<std::string>{"00120001.LBL", "00120001.RGN", "00120001.TRE"}));

    // Put back into a container the files give mkgmap's tile again, byte for byte.
    const auto layout = formats::parseImgImage(readBytes(tile)).layout;
    std::vector<formats::ImgFileToWrite> files;
    for (const auto& subfile : layout->subfiles)
        files.push_back({subfile.name, subfile.type, readBytes(scratch.path() / subfile.fileName())});
    EXPECT_EQ(formats::buildImg(files, {layout->description, layout->created}).image, readBytes(tile));
}

}  // namespace
}  // namespace veldra::outside::test
