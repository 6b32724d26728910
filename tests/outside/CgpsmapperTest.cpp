// cgpsmapper.exe on the overview sources gmt.exe writes, with and without
// Java and mkgmap.

#include <gtest/gtest.h>

#include <algorithm>

#include "OutsideTestSupport.h"
#include "OverviewTestReader.h"
#include "TdbTestReader.h"
#include "formats/MdxStamp.h"

namespace veldra::outside::test {
namespace {

namespace fs = std::filesystem;

const fs::path& compiler() {
    static const fs::path path = programDir() / "Version97c" / "cgpsmapper.exe";
    return path;
}

// gmt.exe's overview source for the three alpha tiles, in a folder of their own.
fs::path makeOverviewSource(const ScratchFolder& scratch) {
    std::string list;
    for (const char* tile : {"11000001.img", "11000002.img", "11000003.img"}) {
        fs::copy_file(builtData() / "alpha" / tile, scratch / tile);
        list += (scratch / tile).string() + "\r\n";
    }
    writeBytes(scratch / "list.txt", {list.begin(), list.end()});
    const ToolRun gmt = runTool(programDir() / "gmt.exe", {"-S", "-f", "4711,1", "-m", "Veldra Alpha", "-n", "Veldra_A",
                                                           "-o", scratch.path().string(), "-@", (scratch / "list.txt").string()});
    EXPECT_EQ(gmt.exitCode, 0) << gmt.output;
    return scratch / "Veldra_A.mp";
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Cgpsmapper, MakesAnOverviewMapWithOneDefinitionAreaPerTile) {
    ScratchFolder scratch;
    const fs::path source = makeOverviewSource(scratch);
    const ToolRun result = runTool(compiler(), {source.string()});
    ASSERT_EQ(result.exitCode, 0) << result.output;

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
    ScratchFolder scratch;
    const fs::path folder = scratch / "SplittMaps";
    ASSERT_EQ(runTool(programDir() / "gmt.exe", {"-G", "-o", folder.string(),
                                                 (builtData() / "gmapsupp" / "gmapsupp.img").string()}).exitCode, 0);
    ASSERT_EQ(runTool(programDir() / "gmt.exe", {"-S", "-o", folder.string(), (folder / "00004712.img").string()}).exitCode,
              0);
    const ToolRun result = runTool(compiler(), {(folder / "mapset.mp").string()});
    ASSERT_EQ(result.exitCode, 0) << result.output;

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

TEST(Cgpsmapper, WithoutJavaItSaysSoAndLeavesNoFile) {
    ScratchFolder scratch;
    const fs::path source = makeOverviewSource(scratch);
    const auto before = namesIn(scratch.path());
    const ToolRun result = runTool(compiler(), {source.string()}, "-u JAVA_HOME PATH=" + (scratch / "none").string());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("no Java runtime found"), std::string::npos) << result.output;
    EXPECT_EQ(namesIn(scratch.path()), before);
}

TEST(Cgpsmapper, WithoutMkgmapItSaysSoAndLeavesNoFile) {
    ScratchFolder scratch;
    const fs::path source = makeOverviewSource(scratch);
    // A program folder without mkgmap.jar.
    fs::create_directories(scratch / "program" / "Version97c");
    fs::copy_file(compiler(), scratch / "program" / "Version97c" / "cgpsmapper.exe");
    const auto before = namesIn(scratch.path());
    const ToolRun result = runTool(scratch / "program" / "Version97c" / "cgpsmapper.exe", {source.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("mkgmap is not installed"), std::string::npos) << result.output;
    EXPECT_EQ(namesIn(scratch.path()), before);
}

TEST(Cgpsmapper, SourceThatMkgmapRefusesLeavesNoFile) {
    ScratchFolder scratch;
    const std::string broken = "[IMG ID]\r\nID=12345678\r\n[END-IMG ID]\r\n[POLYGON]\r\nType=0x4a\r\nData0=(1,2\r\n[END]\r\n";
    writeBytes(scratch / "Broken.mp", {broken.begin(), broken.end()});
    const ToolRun result = runTool(compiler(), {(scratch / "Broken.mp").string()});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("did not make"), std::string::npos) << result.output;
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::string>{"Broken.mp"});
}

TEST(Cgpsmapper, NeedsExactlyOneSource) {
    EXPECT_EQ(runTool(compiler(), {}).exitCode, 2);
    EXPECT_EQ(runTool(compiler(), {"a.mp", "b.mp"}).exitCode, 2);
}

}  // namespace
}  // namespace veldra::outside::test
