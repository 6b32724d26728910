#include "formats/TdbChecksum.h"

#include <fstream>

#include <gtest/gtest.h>

#include "support/MapFiles.h"
#include "formats/FileSizeLimits.h"
#include "formats/TdbChecksumFile.h"
#include "formats/TdbIdPatch.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class TdbChecksumTest : public ScratchFolder {
protected:
    static std::size_t trailerOf(const std::vector<std::uint8_t>& tdb) {
        const auto trailer = findTrailerBlock(tdb);
        EXPECT_TRUE(trailer);
        return trailer.value_or(0);
    }
};

TEST_F(TdbChecksumTest, MkgmapsChecksumsAreValid) {
    EXPECT_EQ(checksumMatches(readBytes(AlphaTdb)), true);
    EXPECT_EQ(checksumMatches(readBytes(BetaTdb)), true);
}

TEST_F(TdbChecksumTest, AfterAnFidPatchOnlyTheFidAndChecksumBytesChangeAndASecondUpdateChangesNothing) {
    const fs::path tdb = copyIn(AlphaTdb);
    const auto original = readBytes(tdb);
    const std::size_t t = trailerOf(original);

    ASSERT_TRUE(writeTdbFid(tdb, 1234));
    EXPECT_EQ(checksumMatches(readBytes(tdb)), false);
    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);

    const auto patched = readBytes(tdb);
    ASSERT_EQ(patched.size(), original.size());
    EXPECT_EQ(patched[5], 0xD2);
    EXPECT_EQ(patched[6], 0x04);
    EXPECT_EQ(checksumMatches(patched), true);
    const auto changed = differingOffsets(original, patched);
    for (const std::size_t offset : changed)
        EXPECT_TRUE(offset == 5 || offset == 6 || offset == t + 5 || offset == t + 12 || offset == t + 15 ||
                    offset == t + 20)
            << "byte " << offset << " changed";
    EXPECT_GE(changed.size(), 3u);  // FID bytes and at least one checksum byte

    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);
    EXPECT_EQ(readBytes(tdb), patched);
}

TEST_F(TdbChecksumTest, RestoresMkgmapsOwnChecksumBytes) {
    // mkgmap's checksum (top bit set here) is an independent reference.
    const auto original = readBytes(AlphaTdb);
    const std::size_t t = trailerOf(original);
    ASSERT_GE(original[t + 5], 0x80);
    auto cleared = original;
    for (const std::size_t offset : TdbChecksumByteOffsets) cleared[t + offset] = 0;
    const fs::path tdb = writeFile("cleared.tdb", cleared);

    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);
    EXPECT_EQ(readBytes(tdb), original);
}

TEST_F(TdbChecksumTest, FilesBelowFortyBytesAskForTheUnknownFormatMessageAndStayUnchanged) {
    const auto original = readBytes(AlphaTdb);
    const std::vector<std::uint8_t> short39(original.begin(), original.begin() + 39);
    const fs::path tdb = writeFile("short.tdb", short39);

    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::UnknownFormat);
    EXPECT_EQ(unknownTdbFormatMessage(),
              "unknowm-tdb-format. Please send tdb-file to : support@veldra.example as email-attachment");
    EXPECT_EQ(readBytes(tdb), short39);

    // A missing file has no length either.
    EXPECT_EQ(updateTdbChecksum(folder() / "missing.tdb").outcome, ChecksumOutcome::UnknownFormat);
    EXPECT_FALSE(fs::exists(folder() / "missing.tdb"));
}

TEST_F(TdbChecksumTest, AFileLargerThanAnyTdbIsRefusedUnreadAndUnchanged) {
    const fs::path tdb = folder() / "huge.tdb";
    {
        std::ofstream out(tdb, std::ios::binary);
        out << "P";
    }
    fs::resize_file(tdb, TdbFileLimit + 1);  // sparse: no disk space taken
    const ChecksumResult result = updateTdbChecksum(tdb);
    EXPECT_EQ(result.outcome, ChecksumOutcome::Failed);
    EXPECT_NE(result.error.find(tdb.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(std::to_string(TdbFileLimit)), std::string::npos) << result.error;
    EXPECT_EQ(fs::file_size(tdb), TdbFileLimit + 1);
}

TEST_F(TdbChecksumTest, WithoutATrailerNothingIsWrittenOrShown) {
    const auto original = readBytes(AlphaTdb);
    const std::size_t t = trailerOf(original);
    for (const std::size_t size : {std::size_t{40}, t}) {
        const std::vector<std::uint8_t> cut(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size));
        const fs::path tdb = writeFile("cut.tdb", cut);
        EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::NoTrailer) << size;
        EXPECT_EQ(readBytes(tdb), cut);
        EXPECT_EQ(checksumMatches(cut), std::nullopt);
    }
}

TEST_F(TdbChecksumTest, NoByteIsWrittenAtOrPastTheEndOfATruncatedTrailer) {
    const auto original = readBytes(AlphaTdb);
    const std::size_t t = trailerOf(original);
    // The file ends after t + 12: of the four checksum bytes only two lie inside.
    std::vector<std::uint8_t> cut(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(t + 13));
    cut[t + 5] = 0;
    cut[t + 12] = 0;
    const fs::path tdb = writeFile("cut.tdb", cut);

    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);
    const auto written = readBytes(tdb);
    ASSERT_EQ(written.size(), cut.size());
    EXPECT_EQ(written[t + 5], original[t + 5]);
    EXPECT_EQ(written[t + 12], original[t + 12]);
    EXPECT_EQ(differingOffsets(cut, written), (std::vector<std::size_t>{t + 5, t + 12}));
}

TEST_F(TdbChecksumTest, ATrailerAtTheStartChecksumsNothingAndIsLeftAlone) {
    std::vector<std::uint8_t> hostile(48, 0xEE);
    hostile[0] = 0x54;
    const fs::path tdb = writeFile("trailer-first.tdb", hostile);
    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::ZeroChecksum);
    EXPECT_EQ(readBytes(tdb), hostile);
}

TEST(TdbChecksumWalk, StepsOverZeroLengthBlocksAndStopsAtLengthsPastTheEnd) {
    // Two empty blocks, then the trailer at 6.
    std::vector<std::uint8_t> tdb = {0x50, 0, 0, 0x44, 0, 0, 0x54, 20, 0};
    tdb.resize(6 + 23, 0);
    EXPECT_EQ(findTrailerBlock(tdb), 6u);

    // A length that jumps past the end ends the walk without a trailer.
    std::vector<std::uint8_t> jump = {0x50, 0xFF, 0xFF, 0x54, 20, 0};
    jump.resize(64, 0);
    EXPECT_EQ(findTrailerBlock(jump), std::nullopt);

    // A length field cut by the end of the data ends it too.
    EXPECT_EQ(findTrailerBlock(std::vector<std::uint8_t>{0x50, 0}), std::nullopt);
    EXPECT_EQ(findTrailerBlock(std::vector<std::uint8_t>{}), std::nullopt);
}

}  // namespace
}  // namespace veldra::formats
