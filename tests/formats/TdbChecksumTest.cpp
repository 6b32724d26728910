#include "formats/TdbChecksum.h"

#include <gtest/gtest.h>

#include "formats/FileSizeLimits.h"
#include "formats/TdbChecksumFile.h"
#include "formats/TdbIdPatch.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;

class TdbChecksumTest : public ScratchFolder {
protected:
    const Bytes original = readBytes(AlphaTdb);
    const std::size_t t = findTrailerBlock(original).value_or(0);
    Bytes firstBytes(std::size_t count) const {
        return {original.begin(), original.begin() + static_cast<std::ptrdiff_t>(count)};
    }
};

TEST_F(TdbChecksumTest, RestoresMkgmapsOwnChecksumBytes) {
    // mkgmap's checksum (top bit set here) is an independent reference.
    EXPECT_EQ(checksumMatches(original), true);
    EXPECT_EQ(checksumMatches(readBytes(BetaTdb)), true);
    ASSERT_GE(original[t + 5], 0x80);
    auto cleared = original;
    for (const std::size_t offset : TdbChecksumByteOffsets) cleared[t + offset] = 0;
    const fs::path tdb = writeFile("cleared.tdb", cleared);
    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);
    EXPECT_EQ(readBytes(tdb), original);
}

TEST_F(TdbChecksumTest, AfterAnFidPatchOnlyTheFidAndChecksumBytesChangeAndASecondUpdateChangesNothing) {
    const fs::path tdb = copyIn(AlphaTdb);
    ASSERT_TRUE(writeTdbFid(tdb, 1234));
    EXPECT_EQ(checksumMatches(readBytes(tdb)), false);
    EXPECT_EQ(updateTdbChecksum(tdb).outcome, ChecksumOutcome::Written);

    const auto patched = readBytes(tdb);
    ASSERT_EQ(patched.size(), original.size());
    EXPECT_EQ(fidAt(patched, 5), 1234);
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

TEST_F(TdbChecksumTest, FilesWithoutAUsableTrailerStayUnchanged) {
    Bytes trailerFirst(48, 0xEE);
    trailerFirst[0] = 0x54;
    const struct {
        const char* name;
        Bytes bytes;
        ChecksumOutcome outcome;
    } cases[] = {
        {"short", firstBytes(39), ChecksumOutcome::UnknownFormat},  // below 40 bytes
        {"forty", firstBytes(40), ChecksumOutcome::NoTrailer},
        {"cut-at-trailer", firstBytes(t), ChecksumOutcome::NoTrailer},
        {"trailer-first", trailerFirst, ChecksumOutcome::ZeroChecksum},  // it checksums nothing
    };
    for (const auto& c : cases) {
        const fs::path tdb = writeFile(std::string(c.name) + ".tdb", c.bytes);
        EXPECT_EQ(updateTdbChecksum(tdb).outcome, c.outcome) << c.name;
        EXPECT_EQ(readBytes(tdb), c.bytes) << c.name;
        if (c.outcome == ChecksumOutcome::NoTrailer) {
            EXPECT_EQ(checksumMatches(c.bytes), std::nullopt) << c.name;
        }
    }
    EXPECT_EQ(updateTdbChecksum(folder() / "missing.tdb").outcome, ChecksumOutcome::UnknownFormat);
    EXPECT_FALSE(fs::exists(folder() / "missing.tdb"));
}

TEST_F(TdbChecksumTest, AFileLargerThanAnyTdbIsRefusedUnreadAndUnchanged) {
    const fs::path tdb = writeFile("huge.tdb", {'P'});
    fs::resize_file(tdb, TdbFileLimit + 1);  // sparse: no disk space taken
    const ChecksumResult result = updateTdbChecksum(tdb);
    EXPECT_EQ(result.outcome, ChecksumOutcome::Failed);
    EXPECT_NE(result.error.find(tdb.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(std::to_string(TdbFileLimit)), std::string::npos) << result.error;
    EXPECT_EQ(fs::file_size(tdb), TdbFileLimit + 1);
}

TEST_F(TdbChecksumTest, NoByteIsWrittenAtOrPastTheEndOfATruncatedTrailer) {
    // The file ends after t + 12: of the four checksum bytes only two lie inside.
    auto cut = firstBytes(t + 13);
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

TEST(TdbChecksumWalk, StepsOverZeroLengthBlocksAndStopsAtLengthsPastTheEnd) {
    Bytes twoEmpty = {0x50, 0, 0, 0x44, 0, 0, 0x54, 20, 0};  // the trailer at 6
    twoEmpty.resize(6 + 23, 0);
    EXPECT_EQ(findTrailerBlock(twoEmpty), 6u);
    Bytes jump = {0x50, 0xFF, 0xFF, 0x54, 20, 0};
    jump.resize(64, 0);
    EXPECT_EQ(findTrailerBlock(jump), std::nullopt);
    EXPECT_EQ(findTrailerBlock(Bytes{0x50, 0}), std::nullopt);  // a length field cut by the end
    EXPECT_EQ(findTrailerBlock(Bytes{}), std::nullopt);
}

}  // namespace
}  // namespace veldra::formats
