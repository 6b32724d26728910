// The IMG container reader on mkgmap's files, XORed files and hostile bytes.

#include <gtest/gtest.h>

#include <algorithm>

#include "OutsideTestSupport.h"
#include "TdbTestReader.h"
#include "formats/ImgReader.h"

namespace veldra::outside::test {
namespace {

using formats::ImgLayout;

ImgLayout layoutOf(const std::vector<std::uint8_t>& image) {
    auto read = formats::parseImgImage(image);
    EXPECT_TRUE(read.layout) << read.error;
    return read.layout ? *read.layout : ImgLayout{};
}

std::vector<std::string> fileNames(const ImgLayout& layout) {
    std::vector<std::string> names;
    for (const auto& subfile : layout.subfiles) names.push_back(subfile.fileName());
    return names;
}

TEST(ImgReader, ReadsTheSubfilesMkgmapListsInItsTdb) {
    const auto mkgmapTdb = readTdbForTest(readBytes(builtData() / "alpha" / "11000000.tdb"));
    ASSERT_EQ(mkgmapTdb.tiles.size(), 3u);
    for (const auto& tile : mkgmapTdb.tiles) {
        const auto image = readBytes(builtData() / "alpha" / (std::to_string(tile.number) + ".img"));
        const ImgLayout layout = layoutOf(image);
        EXPECT_EQ(fileNames(layout), tile.names);
        for (std::size_t i = 0; i < layout.subfiles.size(); ++i) {
            EXPECT_EQ(layout.subfiles[i].size, tile.sizes[i]);
            EXPECT_EQ(formats::extractSubfile(image, layout, layout.subfiles[i]).size(), tile.sizes[i]);
        }
        EXPECT_EQ(layout.description, "Veldra Alpha");
        EXPECT_EQ(layout.blockSize, 512u);
    }
}

TEST(ImgReader, SubfilesBeginWithTheirOwnHeaders) {
    const auto image = readBytes(builtData() / "gmapsupp" / "gmapsupp.img");
    const ImgLayout layout = layoutOf(image);
    ASSERT_EQ(layout.subfiles.size(), 20u);  // MPS, 5 tiles of 3, 2 type files, 2 sort files
    EXPECT_EQ(layout.subfiles.front().fileName(), "MAKEGMAP.MPS");
    for (const auto& subfile : layout.subfiles) {
        if (subfile.type == "MPS") continue;
        const auto bytes = formats::extractSubfile(image, layout, subfile);
        const std::string signature(bytes.begin() + 2, bytes.begin() + 12);
        EXPECT_EQ(signature, "GARMIN " + subfile.type) << subfile.fileName();
    }
}

TEST(ImgReader, XoredImageReadsLikeThePlainOne) {
    const auto plain = readBytes(builtData() / "alpha" / "11000002.img");
    auto stored = plain;
    constexpr std::uint8_t key = 0x5A;
    for (std::size_t i = 1; i < stored.size(); ++i) stored[i] ^= key;
    stored[0] = key;

    const ImgLayout plainLayout = layoutOf(plain);
    const ImgLayout xorLayout = layoutOf(stored);
    EXPECT_EQ(xorLayout.xorKey, key);
    EXPECT_EQ(xorLayout.description, plainLayout.description);
    ASSERT_EQ(fileNames(xorLayout), fileNames(plainLayout));
    for (std::size_t i = 0; i < plainLayout.subfiles.size(); ++i) {
        EXPECT_EQ(formats::extractSubfile(stored, xorLayout, xorLayout.subfiles[i]),
                  formats::extractSubfile(plain, plainLayout, plainLayout.subfiles[i]));
    }

    ScratchFolder scratch;
    writeBytes(scratch / "xored.img", stored);
    auto opened = formats::ImgFile::open(scratch / "xored.img");
    ASSERT_TRUE(opened.file) << opened.error;
    std::string error;
    const auto tre = opened.file->read(*opened.file->layout().find("TRE"), error);
    ASSERT_TRUE(tre) << error;
    EXPECT_EQ(*tre, formats::extractSubfile(plain, plainLayout, *plainLayout.find("TRE")));
}

TEST(ImgReader, EveryTruncationIsRefusedWithAReason) {
    const auto image = readBytes(builtData() / "alpha" / "11000001.img");
    const std::size_t lastByteNeeded = [&] {
        const ImgLayout layout = layoutOf(image);
        std::uint64_t end = 0;
        for (const auto& subfile : layout.subfiles)
            for (const auto& range : formats::subfileRanges(layout, subfile)) end = std::max(end, range.offset + range.length);
        return static_cast<std::size_t>(end);
    }();
    for (std::size_t length = 0; length < image.size(); length += 7) {
        const std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
        const auto read = formats::parseImgImage(cut);
        if (length >= lastByteNeeded) {
            EXPECT_TRUE(read.layout) << length;  // only the zero padding of the last block is missing
        } else {
            EXPECT_FALSE(read.layout) << length;
            EXPECT_FALSE(read.error.empty());
        }
    }
}

class HostileImg : public ::testing::Test {
protected:
    std::vector<std::uint8_t> image = readBytes(builtData() / "alpha" / "11000001.img");
    static constexpr std::size_t firstEntry = 0x400;
    static constexpr std::size_t treEntry = firstEntry + 2 * 512;

    std::string errorOf() {
        const auto read = formats::parseImgImage(image);
        EXPECT_FALSE(read.layout);
        return read.error;
    }
};

TEST_F(HostileImg, NoSignature) {
    image[0x10] = 'X';
    EXPECT_NE(errorOf().find("not an IMG"), std::string::npos);
}

TEST_F(HostileImg, DirectoryLargerThanTheFile) {
    image[firstEntry + 0x0C + 2] = 0x7F;
    EXPECT_NE(errorOf().find("directory size"), std::string::npos);
}

TEST_F(HostileImg, DirectoryStartOutsideTheFile) {
    image[0x40] = 0xFF;
    EXPECT_NE(errorOf().find("directory start"), std::string::npos);
}

TEST_F(HostileImg, AbsurdBlockSize) {
    image[0x62] = 200;
    EXPECT_NE(errorOf().find("block size"), std::string::npos);
}

TEST_F(HostileImg, BlockBeyondTheEnd) {
    image[treEntry + 0x20 + 2] = 0xF0;  // second block of the TRE
    EXPECT_NE(errorOf().find("11000001.TRE reaches past the end"), std::string::npos);
}

TEST_F(HostileImg, SizeLargerThanItsBlocks) {
    image[treEntry + 0x0C + 1] = 0x40;  // 0x40CA bytes in two blocks
    EXPECT_NE(errorOf().find("lists only 2 blocks"), std::string::npos);
}

TEST_F(HostileImg, ContinuationWithoutItsFirstPart) {
    image[treEntry + 0x11] = 1;  // the TRE's only entry claims to be part 1
    EXPECT_NE(errorOf().find("lacks directory part 0"), std::string::npos);
}

TEST_F(HostileImg, TheSamePartTwice) {
    // The LBL entry becomes a second part 0 of the TRE.
    std::copy_n(image.begin() + treEntry + 1, 11, image.begin() + treEntry + 512 + 1);
    EXPECT_NE(errorOf().find("11000001.TRE lacks directory part 1 or has it twice"), std::string::npos);
}

}  // namespace
}  // namespace veldra::outside::test
