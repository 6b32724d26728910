#include "formats/TreDrawPriority.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class TreDrawPriorityTest : public ScratchFolder {
protected:
    // The tile with every byte, its first one included, XORed with the key.
    fs::path xoredCopy(const fs::path& tile, std::uint8_t key) {
        auto bytes = readBytes(tile);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(byte ^ key);
        return writeFile("xored-" + tile.filename().string(), bytes);
    }

    // The tile's TRE subfile as a gmap package holds it: from its header on, plain.
    fs::path treSubfile(const fs::path& tile, const std::string& name) {
        const auto bytes = readBytes(tile);
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        const auto signature = findTreSignature(in, 0);
        EXPECT_TRUE(signature);
        return writeFile(name, {bytes.begin() + static_cast<std::ptrdiff_t>(signature.value_or(2) - 2), bytes.end()});
    }
};

TEST_F(TreDrawPriorityTest, ReadsMkgmapsDrawPriorityPlainAndXorEncoded) {
    const DrawPriorityReading alpha = readImgDrawPriority(builtData("alpha/11000001.img"));
    ASSERT_EQ(alpha.status, DrawPriorityStatus::Found) << alpha.error;
    EXPECT_EQ(alpha.value, 25);
    EXPECT_EQ(alpha.xorByte, 0);
    EXPECT_EQ(readImgDrawPriority(builtData("beta/00120002.img")).value, 28);

    const DrawPriorityReading xored = readImgDrawPriority(xoredCopy(builtData("beta/00120001.img"), 0x5A));
    ASSERT_EQ(xored.status, DrawPriorityStatus::Found) << xored.error;
    EXPECT_EQ(xored.xorByte, 0x5A);
    EXPECT_EQ(xored.value, 28);

    // The first TRE of a device image belongs to its first tile.
    EXPECT_EQ(readImgDrawPriority(builtData("gmapsupp/gmapsupp.img")).value, 25);
}

TEST_F(TreDrawPriorityTest, WritingChangesExactlyOneByteInPlainAndXorEncodedTiles) {
    const fs::path plain = copyIn(builtData("alpha/11000002.img"));
    const fs::path xored = xoredCopy(plain, 0x5A);
    const auto plainBefore = readBytes(plain);
    const auto xoredBefore = readBytes(xored);

    ASSERT_TRUE(writeImgDrawPriority(plain, 17));
    ASSERT_TRUE(writeImgDrawPriority(xored, 17));

    const std::uint64_t offset = readImgDrawPriority(plain).byteOffset;
    const auto plainAfter = readBytes(plain);
    const auto xoredAfter = readBytes(xored);
    EXPECT_EQ(differingOffsets(plainBefore, plainAfter), (std::vector<std::size_t>{offset}));
    EXPECT_EQ(differingOffsets(xoredBefore, xoredAfter), (std::vector<std::size_t>{offset}));
    EXPECT_EQ(plainAfter.size(), plainBefore.size());
    EXPECT_EQ(plainAfter[offset], 17);
    EXPECT_EQ(xoredAfter[offset], 17 ^ 0x5A);
    EXPECT_EQ(readImgDrawPriority(plain).value, 17);
    EXPECT_EQ(readImgDrawPriority(xored).value, 17);
}

TEST_F(TreDrawPriorityTest, GmapTileFilesAreSearchedPlain) {
    const fs::path tre = treSubfile(builtData("beta/00120001.img"), "00120001.TRE");
    const auto before = readBytes(tre);
    EXPECT_EQ(readGmapDrawPriority(tre).value, 28);
    EXPECT_EQ(readGmapDrawPriority(tre).xorByte, std::nullopt);

    ASSERT_TRUE(writeGmapDrawPriority(tre, 31));
    EXPECT_EQ(readGmapDrawPriority(tre).value, 31);
    EXPECT_EQ(differingOffsets(before, readBytes(tre)).size(), 1u);

    EXPECT_TRUE(isGmapTreFile("00120001.TRE"));
    EXPECT_TRUE(isGmapTreFile("folder/00120001.gmp"));
    EXPECT_TRUE(isGmapTreFile("x.Gmp"));
    EXPECT_TRUE(isGmapTreFile("tre"));
    EXPECT_FALSE(isGmapTreFile("00120001.LBL"));
    EXPECT_FALSE(isGmapTreFile("x.tres"));
    EXPECT_FALSE(isGmapTreFile("re"));
}

TEST_F(TreDrawPriorityTest, FilesWithoutAReadableHeaderAreReportedAndNeverWritten) {
    EXPECT_EQ(readImgDrawPriority(folder() / "missing.img").status, DrawPriorityStatus::FileMissing);
    EXPECT_EQ(readImgDrawPriority(writeFile("empty.img", {})).status, DrawPriorityStatus::NoSignature);

    // The search index image holds no TRE header; its XOR byte is still known.
    const DrawPriorityReading index = readImgDrawPriority(builtData("alpha/11000000_mdr.img"));
    EXPECT_EQ(index.status, DrawPriorityStatus::NoSignature);
    EXPECT_EQ(index.xorByte, 0);

    // An LBL-only file has no TRE header: nothing may be written to it.
    const std::vector<std::uint8_t> noTre(4096, 0x20);
    const fs::path lbl = writeFile("no-tre.img", noTre);
    EXPECT_EQ(readImgDrawPriority(lbl).status, DrawPriorityStatus::NoSignature);
    EXPECT_FALSE(writeImgDrawPriority(lbl, 20));
    EXPECT_EQ(readBytes(lbl), noTre);

    // A tile cut inside its TRE header, before the draw priority byte.
    const auto tile = readBytes(builtData("alpha/11000001.img"));
    const std::uint64_t offset = readImgDrawPriority(builtData("alpha/11000001.img")).byteOffset;
    const std::vector<std::uint8_t> cut(tile.begin(), tile.begin() + static_cast<std::ptrdiff_t>(offset));
    const fs::path truncated = writeFile("cut.img", cut);
    EXPECT_EQ(readImgDrawPriority(truncated).status, DrawPriorityStatus::Truncated);
    EXPECT_FALSE(writeImgDrawPriority(truncated, 20));
    EXPECT_EQ(readBytes(truncated), cut);
}

TEST(TreSignatureSearch, FindsASignatureAcrossPiecesAndStopsReadingAtTheFirstMatch) {
    for (const std::size_t at : {std::size_t{0}, std::size_t{16380}, std::size_t{16384}, std::size_t{40000}}) {
        std::string data(4 * 16384, '\0');
        data.replace(at, 10, "GARMIN TRE");
        data.replace(at + 20000, 10, "GARMIN TRE");
        std::istringstream in(data);
        EXPECT_EQ(findTreSignature(in, 0), at) << at;
    }

    // A large stream with the signature near its start is not read to its end.
    std::string large(1 << 22, 'x');
    large.replace(100, 10, "GARMIN TRE");
    std::istringstream in(large);
    ASSERT_EQ(findTreSignature(in, 0), 100u);
    EXPECT_LE(in.tellg(), std::streampos(64 * 1024));

    // XOR-encoded: the plain text is no match, the encoded one is.
    std::string encoded = "..GARMIN TRE..";
    for (std::size_t i = 0; i < 10; ++i) encoded += static_cast<char>("GARMIN TRE"[i] ^ 0x5A);
    std::istringstream xin(encoded);
    EXPECT_EQ(findTreSignature(xin, 0x5A), 14u);
}

}  // namespace
}  // namespace veldra::formats
