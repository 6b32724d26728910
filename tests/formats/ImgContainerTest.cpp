// The IMG container: reading and writing mkgmap's files, XORed files and hostile bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <sstream>
#include <tuple>

#include "formats/ImgGeometry.h"
#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"
#include "support/FileBytes.h"
#include "support/MapFiles.h"
#include "support/TempFolder.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;

ImgLayout layoutOf(const Bytes& image) {
    auto read = parseImgImage(image);
    EXPECT_TRUE(read.layout) << read.error;
    return read.layout ? *read.layout : ImgLayout{};
}

std::vector<std::string> fileNames(const ImgLayout& layout) {
    std::vector<std::string> names;
    for (const auto& subfile : layout.subfiles) names.push_back(subfile.fileName());
    return names;
}

Bytes rebuilt(const Bytes& image) {
    const ImgLayout layout = layoutOf(image);
    std::vector<ImgFileToWrite> files;
    for (const auto& subfile : layout.subfiles)
        files.push_back({subfile.name, subfile.type, extractSubfile(image, layout, subfile)});
    const auto built = buildImg(files, {layout.description, layout.created});
    EXPECT_EQ(built.error, "");
    return built.image;
}

TEST(ImgReader, ReadsTheSubfilesMkgmapListsInItsTdb) {
    for (const auto& tile : readTdbForTest(readBytes(AlphaTdb)).tiles) {
        const auto image = readBytes(builtData("alpha/" + std::to_string(tile.number) + ".img"));
        const ImgLayout layout = layoutOf(image);
        EXPECT_EQ(fileNames(layout), tile.names);
        for (std::size_t i = 0; i < layout.subfiles.size(); ++i) {
            EXPECT_EQ(layout.subfiles[i].size, tile.sizes[i]);
            EXPECT_EQ(extractSubfile(image, layout, layout.subfiles[i]).size(), tile.sizes[i]);
        }
        EXPECT_EQ(layout.description, "Veldra Alpha");
        EXPECT_EQ(layout.blockSize, 512u);
    }
    // The device image: every subfile but the MPS begins with its own header.
    const auto image = readBytes(builtData("gmapsupp/gmapsupp.img"));
    const ImgLayout layout = layoutOf(image);
    EXPECT_EQ(layout.subfiles.size(), 20u);  // MPS, 5 tiles of 3, 2 type files, 2 sort files
    for (const auto& subfile : layout.subfiles) {
        if (subfile.type == "MPS") continue;
        const auto bytes = extractSubfile(image, layout, subfile);
        EXPECT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 12), "GARMIN " + subfile.type) << subfile.fileName();
    }
}

TEST(ImgReader, XoredImageReadsLikeThePlainOne) {
    const auto plain = readBytes(builtData("alpha/11000002.img"));
    auto stored = plain;
    for (std::size_t i = 1; i < stored.size(); ++i) stored[i] ^= 0x5A;
    stored[0] = 0x5A;
    const ImgLayout plainLayout = layoutOf(plain);
    const ImgLayout xorLayout = layoutOf(stored);
    EXPECT_EQ(xorLayout.xorKey, 0x5A);
    EXPECT_EQ(xorLayout.description, plainLayout.description);
    ASSERT_EQ(fileNames(xorLayout), fileNames(plainLayout));
    for (std::size_t i = 0; i < plainLayout.subfiles.size(); ++i)
        EXPECT_EQ(extractSubfile(stored, xorLayout, xorLayout.subfiles[i]),
                  extractSubfile(plain, plainLayout, plainLayout.subfiles[i]));

    TempDir scratch;
    writeBytes(scratch / "xored.img", stored);
    auto opened = ImgFile::open(scratch / "xored.img");
    ASSERT_TRUE(opened.file) << opened.error;
    std::string error;
    const auto tre = opened.file->read(*opened.file->layout().find("TRE"), error);
    ASSERT_TRUE(tre) << error;
    EXPECT_EQ(*tre, extractSubfile(plain, plainLayout, *plainLayout.find("TRE")));
}

TEST(ImgReader, EveryTruncationAndHostileHeaderIsRefusedWithAReason) {
    const Bytes image = readBytes(builtData("alpha/11000001.img"));
    std::uint64_t lastByteNeeded = 0;
    const ImgLayout layout = layoutOf(image);
    for (const auto& subfile : layout.subfiles)
        for (const auto& range : subfileRanges(layout, subfile))
            lastByteNeeded = std::max(lastByteNeeded, range.offset + range.length);
    for (std::size_t length = 0; length < image.size(); length += 7) {
        const auto read = parseImgImage({image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length)});
        // Past the last byte needed only the zero padding of the last block is missing.
        EXPECT_EQ(bool(read.layout), length >= lastByteNeeded) << length;
        EXPECT_EQ(read.error.empty(), length >= lastByteNeeded) << length;
    }

    constexpr std::size_t firstEntry = 0x400;
    constexpr std::size_t treEntry = firstEntry + 2 * 512;
    const std::vector<std::pair<std::function<void(Bytes&)>, std::string>> damages = {
        {[](Bytes& b) { b[0x10] = 'X'; }, "not an IMG"},
        {[](Bytes& b) { b[firstEntry + 0x0C + 2] = 0x7F; }, "directory size"},
        {[](Bytes& b) { b[0x40] = 0xFF; }, "directory start"},
        {[](Bytes& b) { b[0x62] = 200; }, "block size"},
        {[](Bytes& b) { b[treEntry + 0x20 + 2] = 0xF0; }, "11000001.TRE reaches past the end"},  // its second block
        {[](Bytes& b) { b[treEntry + 0x0C + 1] = 0x40; }, "lists only 2 blocks"},  // 0x40CA bytes in two blocks
        {[](Bytes& b) { b[treEntry + 0x11] = 1; }, "lacks directory part 0"},     // its only entry claims part 1
        // The LBL entry becomes a second part 0 of the TRE.
        {[](Bytes& b) { std::copy_n(b.begin() + treEntry + 1, 11, b.begin() + treEntry + 512 + 1); },
         "11000001.TRE lacks directory part 1 or has it twice"},
    };
    for (const auto& [damage, reason] : damages) {
        Bytes damaged = image;
        damage(damaged);
        const auto read = parseImgImage(damaged);
        EXPECT_FALSE(read.layout) << reason;
        EXPECT_NE(read.error.find(reason), std::string::npos) << read.error;
    }
}

TEST(ImgWriter, WritesMkgmapsFilesAgain) {
    for (const char* tile : {"alpha/11000001.img", "alpha/11000003.img", "beta/00120002.img", "alpha/11000000.img"})
        EXPECT_EQ(rebuilt(readBytes(builtData(tile))), readBytes(builtData(tile))) << tile;

    // The device image of twenty subfiles: geometry, block size and count, partition entry and directory.
    const auto original = readBytes(builtData("gmapsupp/gmapsupp.img"));
    const auto built = rebuilt(original);
    ASSERT_EQ(built.size(), original.size());
    for (const auto& [from, to] : {std::pair{0x10, 0x39}, {0x40, 0x49}, {0x5D, 0x65}, {0x1BE, 0x200}, {0x400, 0x2E00}})
        EXPECT_TRUE(std::equal(built.begin() + from, built.begin() + to, original.begin() + from)) << std::hex << from;
}

TEST(ImgWriter, SubfileOfMoreThan240BlocksTakesSeveralEntriesAndIsReadBackPieceByPiece) {
    Bytes big(2100 * 512 + 17);  // more than one piece of the copy
    std::iota(big.begin(), big.end(), std::uint8_t{0});
    const auto built = buildImg({{"00000001", "TRE", {1, 2, 3}}, {"00000001", "RGN", big}}, {});
    ASSERT_EQ(built.error, "");
    const ImgLayout layout = layoutOf(built.image);
    EXPECT_EQ(layout.blockSize, 512u);
    ASSERT_EQ(layout.subfiles.size(), 2u);
    EXPECT_EQ(layout.subfiles[1].blocks.size(), 2101u);
    EXPECT_EQ(extractSubfile(built.image, layout, layout.subfiles[1]), big);
    // Header entry, TRE, then RGN parts 0 and 1: only part 0 carries the size.
    const std::size_t rgnPart1 = 0x400 + 3 * 512;
    EXPECT_EQ(std::make_tuple(built.image[rgnPart1 + 0x11], built.image[rgnPart1 + 0x0C]), std::make_tuple(1, 0));
    EXPECT_EQ(built.image.size() % layout.blockSize, 0u);

    // From an XOR-encoded file, copied piece by piece as a device image is split.
    const TempDir scratch;
    writeBytes(scratch.path() / "x.img", xored(built.image, 0x5A));
    auto opened = ImgFile::open(scratch.path() / "x.img");
    ASSERT_TRUE(opened.file) << opened.error;
    std::ostringstream copy;
    std::string error;
    ASSERT_TRUE(opened.file->copyTo(opened.file->layout().subfiles[1], copy, error)) << error;
    EXPECT_EQ(copy.str(), std::string(big.begin(), big.end()));
}

TEST(ImgWriter, BlockSizeGrowsUntilDirectoryAndImageFitAndTheGeometryCoversThem) {
    // 300 small subfiles need more than 240 directory blocks of 512 bytes; the second image more than 0xFFFE blocks.
    EXPECT_EQ(planImgBlocks(std::vector<std::uint64_t>(300, 10))->blockSize, 1024u);
    EXPECT_EQ(planImgBlocks(std::vector<std::uint64_t>{std::uint64_t{0xFFFE} * 512})->blockSize, 1024u);
    const auto plan = planImgBlocks(std::vector<std::uint64_t>{283, 714, 357});
    EXPECT_EQ(std::make_tuple(plan->blockSize, plan->headerBlocks, plan->totalBlocks), std::make_tuple(512u, 6u, 10u));
    for (const std::uint32_t endSector : {11u, 2047u, 2048u, 70000u, 2000000u}) {
        const auto g = imgGeometry(endSector);
        EXPECT_GT(std::uint64_t{g.sectors} * g.heads * g.cylinders, endSector);
    }
    EXPECT_EQ(imgGeometry(11).cylinders, 0x20);
}

TEST(ImgWriter, EmptySubfilesGetNoEntryAndBadNamesAreRefused) {
    const ImgLayout layout = layoutOf(buildImg({{"A", "TRE", {}}, {"B", "RGN", {9}}}, {}).image);
    EXPECT_EQ(fileNames(layout), std::vector<std::string>{"B.RGN"});
    for (const auto& [name, type] : {std::pair{"123456789", "TRE"}, {"12345678", "TR"}})
        EXPECT_NE(buildImg({{name, type, {1}}}, {}).error.find("unusable subfile name"), std::string::npos) << name;
}

}  // namespace
}  // namespace veldra::formats
