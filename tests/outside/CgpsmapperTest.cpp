// cgpsmapper.exe on the overview sources gmt.exe writes, with and without
// Java and mkgmap.
#include <gtest/gtest.h>

#include <algorithm>

#include "OverviewTestReader.h"
#include "formats/MdxStamp.h"
#include "support/Commands.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

const fs::path& compiler() {
    static const fs::path path = programDir() / "Version97c" / "cgpsmapper.exe";
    return path;
}

// gmt.exe's overview source for the three alpha tiles, in a folder of their own.
fs::path makeOverviewSource(const TempDir& scratch) {
    std::string list;
    for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) {
        fs::copy_file(builtData("alpha") / tile, scratch / tile);
        list += (scratch / tile).string() + "\r\n";
    }
    writeText(scratch / "list.txt", list);
    const CommandResult gmt = runProgram(programDir() / "gmt.exe", {"-S", "-f", "4711,1", "-m", "Veldra Alpha", "-n",
                                                                    "Veldra_A", "-o", scratch.path().string(), "-@",
                                                                    (scratch / "list.txt").string()});
    EXPECT_EQ(gmt.status, 0) << gmt.output;
    return scratch / "Veldra_A.mp";
}

TEST(Cgpsmapper, MakesAnOverviewMapWithOneDefinitionAreaPerTile) {
    TempDir scratch;
    const fs::path source = makeOverviewSource(scratch);
    const CommandResult result = runProgram(compiler(), {source.string()});
    ASSERT_EQ(result.status, 0) << result.output;

    const auto map = readCompiledMap(readBytes(scratch / "Veldra_A.img"));
    EXPECT_EQ(map.mapId, readTdbForTest(readBytes(scratch / "Veldra_A.tdb")).overviewNumber);
    const auto finest = std::max_element(map.polygons.begin(), map.polygons.end(),
                                         [](const auto& a, const auto& b) { return a.levelBits < b.levelBits; });
    ASSERT_NE(finest, map.polygons.end());
    std::vector<std::string> labels;
    for (const auto& polygon : map.polygons) {
        if (polygon.type == 0x4a && polygon.levelBits == finest->levelBits) labels.push_back(polygon.label);
    }
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<std::string>{"Veldra Alpha\x1d" "11000001", "Veldra Alpha\x1d" "11000002",
                                                "Veldra Alpha\x1d" "11000003"}));
    // mkgmap's work folder is gone.
    const auto names = namesIn(scratch.path());
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& name) { return name.starts_with("."); }), 0);
}

TEST(Cgpsmapper, MapsetSourceGivesOverviewTdbAndIndex) {
    TempDir scratch;
    const fs::path folder = scratch / "SplittMaps";
    const fs::path gmt = programDir() / "gmt.exe";
    ASSERT_EQ(runProgram(gmt, {"-G", "-o", folder.string(), builtData("gmapsupp/gmapsupp.img").string()}).status, 0);
    ASSERT_EQ(runProgram(gmt, {"-S", "-o", folder.string(), (folder / "00004712.img").string()}).status, 0);
    const CommandResult result = runProgram(compiler(), {(folder / "mapset.mp").string()});
    ASSERT_EQ(result.status, 0) << result.output;

    const auto tdb = readTdbForTest(readBytes(folder / "mapset.tdb"));
    EXPECT_EQ(tdb.fid, 4712);
    EXPECT_EQ(tdb.familyName, "Veldra Beta");
    ASSERT_EQ(tdb.tiles.size(), 2u);
    EXPECT_EQ(readCompiledMap(readBytes(folder / "mapset.img")).mapId, tdb.overviewNumber);
    const auto mdx = formats::readMdx(folder / "mapset.mdx");
    ASSERT_TRUE(mdx.records) << mdx.error;
    ASSERT_EQ(mdx.records->size(), 2u);
    EXPECT_EQ((*mdx.records)[0].fid, 4712);
}

// Without Java, without mkgmap, or with a source mkgmap refuses: a reason, and no file.
TEST(Cgpsmapper, WhatCannotBeCompiledLeavesNoFile) {
    TempDir scratch;
    const fs::path source = makeOverviewSource(scratch);
    // A program folder without mkgmap.jar.
    fs::create_directories(scratch / "program" / "Version97c");
    fs::copy_file(compiler(), scratch / "program" / "Version97c" / "cgpsmapper.exe");
    const std::string broken = "[IMG ID]\r\nID=12345678\r\n[END-IMG ID]\r\n[POLYGON]\r\nType=0x4a\r\nData0=(1,2\r\n[END]\r\n";
    writeText(scratch / "Broken.mp", broken);
    const auto before = namesIn(scratch.path());

    const CommandResult noJava =
        runProgram(compiler(), {source.string()}, "-u JAVA_HOME PATH=" + (scratch / "none").string());
    EXPECT_EQ(noJava.status, 1);
    EXPECT_NE(noJava.output.find("no Java runtime found"), std::string::npos) << noJava.output;
    const CommandResult noMkgmap = runProgram(scratch / "program" / "Version97c" / "cgpsmapper.exe", {source.string()});
    EXPECT_EQ(noMkgmap.status, 1);
    EXPECT_NE(noMkgmap.output.find("mkgmap is not installed"), std::string::npos) << noMkgmap.output;
    const CommandResult refused = runProgram(compiler(), {(scratch / "Broken.mp").string()});
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_NE(refused.output.find("did not make"), std::string::npos) << refused.output;
    EXPECT_EQ(namesIn(scratch.path()), before);

    EXPECT_EQ(runProgram(compiler(), {}).status, 2);
    EXPECT_EQ(runProgram(compiler(), {"a.mp", "b.mp"}).status, 2);
}

}  // namespace
}  // namespace veldra::outside::test
