// The IMG container reader on mkgmap's files, XORed files and hostile bytes.
#include "formats/ImgReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

ImgLayout layoutOf(const std::vector<std::uint8_t>& image) {
    auto read = parseImgImage(image);
    EXPECT_TRUE(read.layout) << read.error;
    return read.layout ? *read.layout : ImgLayout{};
}

std::vector<std::string> fileNames(const ImgLayout& layout) {
    std::vector<std::string> names;
    for (const auto& subfile : layout.subfiles) names.push_back(subfile.fileName());
    return names;
}

TEST(ImgReader, ReadsTheSubfilesMkgmapListsInItsTdb) {
    const auto mkgmapTdb = readTdbForTest(readBytes(AlphaTdb));
    ASSERT_EQ(mkgmapTdb.tiles.size(), 3u);
    for (const auto& tile : mkgmapTdb.tiles) {
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
    ASSERT_EQ(layout.subfiles.size(), 20u);  // MPS, 5 tiles of 3, 2 type files, 2 sort files
    EXPECT_EQ(layout.subfiles.front().fileName(), "MAKEGMAP.MPS");
    for (const auto& subfile : layout.subfiles) {
        if (subfile.type == "MPS") continue;
        const auto bytes = extractSubfile(image, layout, subfile);
        EXPECT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 12), "GARMIN " + subfile.type) << subfile.fileName();
    }
}

TEST(ImgReader, XoredImageReadsLikeThePlainOne) {
    const auto plain = readBytes(builtData("alpha/11000002.img"));
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
        EXPECT_EQ(extractSubfile(stored, xorLayout, xorLayout.subfiles[i]),
                  extractSubfile(plain, plainLayout, plainLayout.subfiles[i]));
    }

    TempDir scratch;
    writeBytes(scratch / "xored.img", stored);
    auto opened = ImgFile::open(scratch / "xored.img");
    ASSERT_TRUE(opened.file) << opened.error;
    std::string error;
    const auto tre = opened.file->read(*opened.file->layout().find("TRE"), error);
    ASSERT_TRUE(tre) << error;
    EXPECT_EQ(*tre, extractSubfile(plain, plainLayout, *plainLayout.find("TRE")));
}

TEST(ImgReader, EveryTruncationIsRefusedWithAReason) {
    const auto image = readBytes(builtData("alpha/11000001.img"));
    const std::size_t lastByteNeeded = [&] {
        const ImgLayout layout = layoutOf(image);
        std::uint64_t end = 0;
        for (const auto& subfile : layout.subfiles)
            for (const auto& range : subfileRanges(layout, subfile)) end = std::max(end, range.offset + range.length);
        return static_cast<std::size_t>(end);
    }();
    for (std::size_t length = 0; length < image.size(); length += 7) {
        const std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
        const auto read = parseImgImage(cut);
        if (length >= lastByteNeeded) {
            EXPECT_TRUE(read.layout) << length;  // only the zero padding of the last block is missing
        } else {
            EXPECT_FALSE(read.layout) << length;
            EXPECT_FALSE(read.error.empty());
        }
    }
}

TEST(ImgReader, HostileHeadersAndDirectoriesAreRefusedWithTheirReason) {
    constexpr std::size_t firstEntry = 0x400;
    constexpr std::size_t treEntry = firstEntry + 2 * 512;
    using Bytes = std::vector<std::uint8_t>;
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
    const Bytes image = readBytes(builtData("alpha/11000001.img"));
    for (const auto& [damage, reason] : damages) {
        Bytes damaged = image;
        damage(damaged);
        const auto read = parseImgImage(damaged);
        EXPECT_FALSE(read.layout) << reason;
        EXPECT_NE(read.error.find(reason), std::string::npos) << read.error;
    }
}

}  // namespace
}  // namespace veldra::formats
