// The IMG container writer: what mkgmap writes for the same subfiles, block
// size choice, subfiles of more than 240 blocks, refused names.
#include "formats/ImgWriter.h"

#include <gtest/gtest.h>

#include <numeric>

#include "formats/ImgGeometry.h"
#include "formats/ImgReader.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

std::vector<ImgFileToWrite> subfilesOf(const std::vector<std::uint8_t>& image, const ImgLayout& layout) {
    std::vector<ImgFileToWrite> files;
    for (const auto& subfile : layout.subfiles)
        files.push_back({subfile.name, subfile.type, extractSubfile(image, layout, subfile)});
    return files;
}

TEST(ImgWriter, WritesMkgmapsTilesByteForByte) {
    for (const char* tile : {"alpha/11000001.img", "alpha/11000003.img", "beta/00120002.img", "alpha/11000000.img"}) {
        const auto original = readBytes(builtData(tile));
        const auto layout = parseImgImage(original).layout;
        ASSERT_TRUE(layout) << tile;
        const auto built = buildImg(subfilesOf(original, *layout), {layout->description, layout->created});
        ASSERT_TRUE(built.error.empty()) << built.error;
        EXPECT_EQ(built.image, original) << tile;
    }
}

TEST(ImgWriter, GmapsuppWithTwentySubfilesKeepsMkgmapsGeometry) {
    const auto original = readBytes(builtData("gmapsupp/gmapsupp.img"));
    const auto layout = parseImgImage(original).layout;
    ASSERT_TRUE(layout);
    const auto built = buildImg(subfilesOf(original, *layout), {layout->description, layout->created});
    ASSERT_EQ(built.image.size(), original.size());
    // Geometry, block size and count, partition entry and directory are mkgmap's.
    for (const auto& [from, to] : {std::pair{0x10, 0x39}, {0x40, 0x49}, {0x5D, 0x65}, {0x1BE, 0x200}, {0x400, 0x2E00}}) {
        EXPECT_TRUE(std::equal(built.image.begin() + from, built.image.begin() + to, original.begin() + from))
            << std::hex << from;
    }
}

TEST(ImgWriter, SubfileOfMoreThan240BlocksTakesSeveralEntries) {
    std::vector<std::uint8_t> big(300 * 512 + 17);
    std::iota(big.begin(), big.end(), std::uint8_t{0});
    const std::vector<ImgFileToWrite> files = {{"00000001", "TRE", {1, 2, 3}}, {"00000001", "RGN", big}};
    const auto built = buildImg(files, {});
    ASSERT_TRUE(built.error.empty());

    const auto layout = parseImgImage(built.image).layout;
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->blockSize, 512u);
    ASSERT_EQ(layout->subfiles.size(), 2u);
    EXPECT_EQ(layout->subfiles[1].blocks.size(), 301u);
    EXPECT_EQ(extractSubfile(built.image, *layout, layout->subfiles[1]), big);
    // Header entry, TRE, then RGN parts 0 and 1: only part 0 carries the size.
    const std::size_t rgnPart1 = 0x400 + 3 * 512;
    EXPECT_EQ(built.image[rgnPart1 + 0x11], 1);
    EXPECT_EQ(built.image[rgnPart1 + 0x0C], 0);
    EXPECT_EQ(built.image.size() % layout->blockSize, 0u);
}

TEST(ImgWriter, BlockSizeGrowsUntilDirectoryAndImageFitAndTheGeometryCoversThem) {
    // 300 small subfiles: their directory needs more than 240 blocks of 512 bytes.
    EXPECT_EQ(planImgBlocks(std::vector<std::uint64_t>(300, 10))->blockSize, 1024u);
    // More than 0xFFFE blocks of 512 bytes in all.
    EXPECT_EQ(planImgBlocks(std::vector<std::uint64_t>{std::uint64_t{0xFFFE} * 512})->blockSize, 1024u);
    const auto plan = planImgBlocks(std::vector<std::uint64_t>{283, 714, 357});
    EXPECT_EQ(plan->blockSize, 512u);
    EXPECT_EQ(plan->headerBlocks, 6u);
    EXPECT_EQ(plan->totalBlocks, 10u);

    for (const std::uint32_t endSector : {11u, 2047u, 2048u, 70000u, 2000000u}) {
        const auto g = imgGeometry(endSector);
        EXPECT_GT(std::uint64_t{g.sectors} * g.heads * g.cylinders, endSector);
    }
    EXPECT_EQ(imgGeometry(11).cylinders, 0x20);
}

TEST(ImgWriter, EmptySubfilesGetNoEntryAndBadNamesAreRefused) {
    const auto built = buildImg({{"A", "TRE", {}}, {"B", "RGN", {9}}}, {});
    const auto layout = parseImgImage(built.image).layout;
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->subfiles.size(), 1u);
    EXPECT_EQ(layout->subfiles[0].fileName(), "B.RGN");

    EXPECT_NE(buildImg({{"123456789", "TRE", {1}}}, {}).error.find("unusable subfile name"), std::string::npos);
    EXPECT_NE(buildImg({{"12345678", "TR", {1}}}, {}).error.find("unusable subfile name"), std::string::npos);
}

}  // namespace
}  // namespace veldra::formats
