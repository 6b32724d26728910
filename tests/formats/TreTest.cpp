// The TRE subfile of mkgmap's tiles: bounds against its TDB, the draw priority
// read and written in plain and XOR-encoded tiles, hostile headers.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "formats/ImgReader.h"
#include "formats/TreBounds.h"
#include "formats/TreDrawPriority.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;

Bytes treOf(const fs::path& tile) {
    const auto image = readBytes(tile);
    const auto layout = parseImgImage(image).layout;
    return extractSubfile(image, *layout, *layout->find("TRE"));
}

TEST(TreBounds, AreTheBoundsAndNumbersOfMkgmapsTdb) {
    for (const auto& [family, tdbFile] : {std::pair{"alpha", AlphaTdb}, {"beta", BetaTdb}}) {
        for (const auto& tile : readTdbForTest(readBytes(tdbFile)).tiles) {
            char name[16];
            std::snprintf(name, sizeof name, "%08u.img", tile.number);
            const auto read = parseTre(treOf(builtData(family) / name));
            ASSERT_TRUE(read.facts) << read.error;
            const auto& b = read.facts->bounds;
            EXPECT_EQ((TdbBox{b.north * 256, b.east * 256, b.south * 256, b.west * 256}), tile.box) << name;
            EXPECT_EQ(read.facts->mapId, tile.number);
        }
    }
    const auto read = parseTre(treOf(builtData("alpha/11000001.img")));
    ASSERT_TRUE(read.facts);
    EXPECT_EQ(read.facts->levelBits, (std::vector<std::uint8_t>{17, 18, 20, 22, 24}));
    EXPECT_NEAR(mapUnitsToDegrees(read.facts->bounds.north), 47.01, 0.001);
    EXPECT_NEAR(mapUnitsToDegrees(read.facts->bounds.west), 8.0, 0.001);
    EXPECT_NEAR(mapUnitsToDegrees(-(1 << 23)), -180.0, 1e-9);
}

TEST(TreBounds, HostileHeadersAreRefused) {
    const auto tre = treOf(builtData("alpha/11000001.img"));
    EXPECT_FALSE(parseTre({tre.data(), 20}).facts);
    const struct {
        std::size_t at;
        std::uint8_t value;
        const char* error;
    } damages[] = {{4, 'X', "no TRE header"}, {0x21 + 2, 0x7F, "level table"}, {1, 0x40, "truncated"}};
    for (const auto& damage : damages) {
        auto bytes = tre;
        bytes[damage.at] = damage.value;
        EXPECT_NE(parseTre(bytes).error.find(damage.error), std::string::npos) << damage.error;
    }
}

class TreDrawPriorityTest : public ScratchFolder {
protected:
    fs::path xoredCopy(const fs::path& tile) {
        return writeFile("xored-" + tile.filename().string(), xored(readBytes(tile), 0x5A));
    }
};

TEST_F(TreDrawPriorityTest, ReadsMkgmapsDrawPriorityPlainAndXorEncoded) {
    const DrawPriorityReading alpha = readImgDrawPriority(builtData("alpha/11000001.img"));
    ASSERT_EQ(alpha.status, DrawPriorityStatus::Found) << alpha.error;
    EXPECT_EQ(alpha.value, 25);
    EXPECT_EQ(alpha.xorByte, 0);
    EXPECT_EQ(readImgDrawPriority(builtData("beta/00120002.img")).value, 28);
    const DrawPriorityReading encoded = readImgDrawPriority(xoredCopy(builtData("beta/00120001.img")));
    ASSERT_EQ(encoded.status, DrawPriorityStatus::Found) << encoded.error;
    EXPECT_EQ(encoded.xorByte, 0x5A);
    EXPECT_EQ(encoded.value, 28);
    // The first TRE of a device image belongs to its first tile.
    EXPECT_EQ(readImgDrawPriority(builtData("gmapsupp/gmapsupp.img")).value, 25);
}

TEST_F(TreDrawPriorityTest, WritingChangesExactlyOneByteInPlainXorEncodedAndGmapTiles) {
    const fs::path plain = copyIn(builtData("alpha/11000002.img"));
    const fs::path encoded = xoredCopy(plain);
    const auto plainBefore = readBytes(plain);
    const auto xoredBefore = readBytes(encoded);
    ASSERT_TRUE(writeImgDrawPriority(plain, 17));
    ASSERT_TRUE(writeImgDrawPriority(encoded, 17));
    const std::uint64_t offset = readImgDrawPriority(plain).byteOffset;
    EXPECT_EQ(readBytes(plain).size(), plainBefore.size());
    EXPECT_EQ(differingOffsets(plainBefore, readBytes(plain)), (std::vector<std::size_t>{offset}));
    EXPECT_EQ(differingOffsets(xoredBefore, readBytes(encoded)), (std::vector<std::size_t>{offset}));
    EXPECT_EQ(readBytes(plain)[offset], 17);
    EXPECT_EQ(readBytes(encoded)[offset], 17 ^ 0x5A);
    EXPECT_EQ(readImgDrawPriority(encoded).value, 17);

    // A gmap package's TRE file is searched plain: it holds the subfile from its header on.
    const fs::path tre = writeFile("00120001.TRE", treOf(builtData("beta/00120001.img")));
    const auto before = readBytes(tre);
    EXPECT_EQ(readGmapDrawPriority(tre).value, 28);
    EXPECT_EQ(readGmapDrawPriority(tre).xorByte, std::nullopt);
    ASSERT_TRUE(writeGmapDrawPriority(tre, 31));
    EXPECT_EQ(readGmapDrawPriority(tre).value, 31);
    EXPECT_EQ(differingOffsets(before, readBytes(tre)).size(), 1u);
    for (const auto& [name, isTre] : {std::pair{"00120001.TRE", true}, {"folder/00120001.gmp", true}, {"x.Gmp", true},
                                      {"tre", true}, {"00120001.LBL", false}, {"x.tres", false}, {"re", false}})
        EXPECT_EQ(isGmapTreFile(name), isTre) << name;
}

TEST_F(TreDrawPriorityTest, FilesWithoutAReadableHeaderAreReportedAndNeverWritten) {
    EXPECT_EQ(readImgDrawPriority(folder() / "missing.img").status, DrawPriorityStatus::FileMissing);
    EXPECT_EQ(readImgDrawPriority(writeFile("empty.img", {})).status, DrawPriorityStatus::NoSignature);
    // The search index image holds no TRE header; its XOR byte is still known.
    const DrawPriorityReading index = readImgDrawPriority(builtData("alpha/11000000_mdr.img"));
    EXPECT_EQ(index.status, DrawPriorityStatus::NoSignature);
    EXPECT_EQ(index.xorByte, 0);

    // An LBL-only file, and a tile cut inside its TRE header before the draw priority byte.
    const auto tile = readBytes(builtData("alpha/11000001.img"));
    const auto offset = static_cast<std::ptrdiff_t>(readImgDrawPriority(builtData("alpha/11000001.img")).byteOffset);
    for (const auto& [bytes, status] : {std::pair{Bytes(4096, 0x20), DrawPriorityStatus::NoSignature},
                                        {Bytes(tile.begin(), tile.begin() + offset), DrawPriorityStatus::Truncated}}) {
        const fs::path file = writeFile("damaged.img", bytes);
        EXPECT_EQ(readImgDrawPriority(file).status, status);
        EXPECT_FALSE(writeImgDrawPriority(file, 20));
        EXPECT_EQ(readBytes(file), bytes);
    }
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
    for (const char c : std::string("GARMIN TRE")) encoded += static_cast<char>(c ^ 0x5A);
    std::istringstream xin(encoded);
    EXPECT_EQ(findTreSignature(xin, 0x5A), 14u);
}

}  // namespace
}  // namespace veldra::formats
