// cgpsmapper.exe on the overview source gmt.exe writes for a list of tiles,
// with and without Java and mkgmap (GmtTest runs it on a mapset source).
#include <gtest/gtest.h>

#include "formats/ImgReader.h"
#include "formats/TreBounds.h"
#include "support/Commands.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::outside::test {
namespace {

using namespace veldra::testing;

const fs::path compiler = programDir() / "Version97c" / "cgpsmapper.exe";

std::vector<std::uint8_t> subfileOf(const fs::path& img, const char* type) {
    const auto image = readBytes(img);
    const auto layout = formats::parseImgImage(image).layout;
    if (!layout || layout->find(type) == nullptr) return {};
    return formats::extractSubfile(image, *layout, *layout->find(type));
}

std::uint32_t mapIdOf(const fs::path& img) {
    const auto read = formats::parseTre(subfileOf(img, "TRE"));
    return read.facts ? read.facts->mapId.value_or(0) : 0;
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
    const CommandResult result = runProgram(compiler, {makeOverviewSource(scratch).string()});
    ASSERT_EQ(result.status, 0) << result.output;

    EXPECT_EQ(mapIdOf(scratch / "Veldra_A.img"), readTdbForTest(readBytes(scratch / "Veldra_A.tdb")).overviewNumber);
    // The labels of the definition areas, 8-bit encoded.
    const auto lbl = subfileOf(scratch / "Veldra_A.img", "LBL");
    const std::string labels(lbl.begin(), lbl.end());
    for (const char* number : {"11000001", "11000002", "11000003"})
        EXPECT_NE(labels.find(std::string("\0Veldra Alpha\x1d", 14) + number + '\0'), std::string::npos) << number;
    // mkgmap's work folder is gone.
    for (const auto& name : namesIn(scratch.path())) EXPECT_FALSE(name.starts_with(".")) << name;
}

// Without Java, without mkgmap, or with a source mkgmap refuses: a reason, and no file.
TEST(Cgpsmapper, WhatCannotBeCompiledLeavesNoFile) {
    TempDir scratch;
    const fs::path source = makeOverviewSource(scratch);
    const fs::path withoutMkgmap = scratch / "program" / "Version97c" / "cgpsmapper.exe";
    fs::create_directories(withoutMkgmap.parent_path());
    fs::copy_file(compiler, withoutMkgmap);
    writeText(scratch / "Broken.mp",
              "[IMG ID]\r\nID=12345678\r\n[END-IMG ID]\r\n[POLYGON]\r\nType=0x4a\r\nData0=(1,2\r\n[END]\r\n");
    const auto before = namesIn(scratch.path());

    const struct {
        fs::path program;
        fs::path source;
        std::string environment, reason;
    } failures[] = {{compiler, source, "-u JAVA_HOME PATH=" + (scratch / "none").string(), "no Java runtime found"},
                    {withoutMkgmap, source, "", "mkgmap is not installed"},
                    {compiler, scratch / "Broken.mp", "", "did not make"}};
    for (const auto& failure : failures) {
        const CommandResult result = runProgram(failure.program, {failure.source.string()}, failure.environment);
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_NE(result.output.find(failure.reason), std::string::npos) << result.output;
    }
    EXPECT_EQ(namesIn(scratch.path()), before);
    EXPECT_EQ(runProgram(compiler, {}).status, 2);
    EXPECT_EQ(runProgram(compiler, {"a.mp", "b.mp"}).status, 2);
}

}  // namespace
}  // namespace veldra::outside::test
