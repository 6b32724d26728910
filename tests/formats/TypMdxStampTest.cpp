// The family stamp in type files and index (MDX) files: only the FID bytes change.
#include <gtest/gtest.h>

#include <tuple>

#include "formats/MdxStamp.h"
#include "formats/TypStamp.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;
using Offsets = std::vector<std::size_t>;

class TypMdxStampTest : public ScratchFolder {};

TEST_F(TypMdxStampTest, TypeFilesCarryTheirFamilyAndTheStampChangesOnlyTwoBytes) {
    const TypIdsRead alpha = readTypIds(builtData("alpha/alpha.typ"));
    ASSERT_TRUE(alpha.ids) << alpha.error;
    EXPECT_EQ(std::tie(alpha.ids->fid, alpha.ids->pid), std::make_tuple(4711, 1));
    EXPECT_EQ(readTypIds(builtData("beta/beta.typ")).ids->fid, 4712);

    const fs::path typ = copyIn(builtData("alpha/alpha.typ"));
    const auto before = readBytes(typ);
    ASSERT_TRUE(writeTypFid(typ, 40000));
    EXPECT_EQ(differingOffsets(before, readBytes(typ)), (Offsets{0x2F, 0x30}));
    EXPECT_EQ(fidAt(readBytes(typ), 0x2F), 40000);
    EXPECT_EQ(readTypIds(typ).ids->fid, 40000);
    const auto written = readBytes(typ);

    // A stamped copy differs from its source only in the FID; the source stays as it was.
    const fs::path copy = folder() / "2104.Typ";
    ASSERT_TRUE(writeStampedTypCopy(typ, copy, 1234));
    const auto stamped = readBytes(copy);
    ASSERT_EQ(stamped.size(), before.size());
    EXPECT_EQ(differingOffsets(before, stamped), (Offsets{0x2F, 0x30}));
    EXPECT_EQ(fidAt(stamped, 0x2F), 1234);
    EXPECT_EQ(readBytes(typ), written);

    // A type file cut before its FID is refused without writing.
    const fs::path shortTyp = writeFile("short.typ", {before.begin(), before.begin() + 48});
    EXPECT_FALSE(readTypIds(shortTyp).ids);
    EXPECT_FALSE(writeTypFid(shortTyp, 7));
    EXPECT_FALSE(writeStampedTypCopy(shortTyp, folder() / "copy.typ", 7));
    EXPECT_EQ(readBytes(shortTyp), Bytes(before.begin(), before.begin() + 48));
    EXPECT_FALSE(fs::exists(folder() / "copy.typ"));

    // Bytes long enough but without the type file signature are no type file either.
    Bytes foreign = before;
    foreign[2] = 'X';
    EXPECT_FALSE(readTypIds(writeFile("unsigned.typ", foreign)).ids);
    EXPECT_FALSE(writeStampedTypCopy(folder() / "unsigned.typ", folder() / "copy.typ", 7));
    EXPECT_FALSE(fs::exists(folder() / "copy.typ"));
}

TEST_F(TypMdxStampTest, IndexRecordsNameEveryTileAndTheStampTouchesOnlyTheirFids) {
    const MdxRead alpha = readMdx(builtData("alpha/11000000.mdx"));
    ASSERT_TRUE(alpha.records) << alpha.error;
    ASSERT_EQ(alpha.records->size(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        const auto& record = (*alpha.records)[i];
        EXPECT_EQ(std::tie(record.fid, record.pid, record.mapNumber), std::make_tuple(4711, 1, 11000001 + i));
    }
    const fs::path mdx = copyIn(builtData("alpha/11000000.mdx"));
    const auto before = readBytes(mdx);
    ASSERT_TRUE(writeMdxFid(mdx, 1234));
    const auto after = readBytes(mdx);
    EXPECT_EQ(differingOffsets(before, after), (Offsets{20, 21, 32, 33, 44, 45}));
    EXPECT_EQ(std::make_pair(fidAt(after, 20), fidAt(after, 44)), std::make_pair(1234, 1234));

    // Beta has records at 14 and 26, FIDs at 20-21 and 32-33. Cut after the second FID, both are written.
    const auto beta = readBytes(builtData("beta/00120000.mdx"));
    ASSERT_EQ(beta[10], 2);
    const fs::path cutAfterFid = writeFile("after-fid.mdx", {beta.begin(), beta.begin() + 34});
    ASSERT_TRUE(writeMdxFid(cutAfterFid, 1234));
    EXPECT_EQ(differingOffsets({beta.begin(), beta.begin() + 34}, readBytes(cutAfterFid)), (Offsets{20, 21, 32, 33}));
    EXPECT_EQ(readBytes(cutAfterFid).size(), 34u);
}

TEST_F(TypMdxStampTest, IndexFilesTheStampWouldHaveToGrowOrThatMiscountAreLeftAlone) {
    const auto beta = readBytes(builtData("beta/00120000.mdx"));
    auto overcounted = beta;
    overcounted[10] = 5;  // two records in the file
    const fs::path over = writeFile("over.mdx", overcounted);
    EXPECT_NE(readMdx(over).error.find("5 records"), std::string::npos) << readMdx(over).error;
    // Cut inside the second FID, or before the count.
    for (const fs::path& file : {over, writeFile("inside-fid.mdx", {beta.begin(), beta.begin() + 33}),
                                 writeFile("cut.mdx", {beta.begin(), beta.begin() + 11})}) {
        const auto bytes = readBytes(file);
        EXPECT_FALSE(writeMdxFid(file, 1)) << file;
        EXPECT_EQ(readBytes(file), bytes) << file;
    }
    EXPECT_FALSE(readMdx(over).records);
    EXPECT_FALSE(readMdx(folder() / "cut.mdx").records);
}

}  // namespace
}  // namespace veldra::formats
