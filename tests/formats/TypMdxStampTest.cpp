#include <gtest/gtest.h>

#include "support/MapFiles.h"
#include "formats/MdxStamp.h"
#include "formats/TypStamp.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class TypMdxStampTest : public ScratchFolder {};

TEST_F(TypMdxStampTest, TypeFilesCarryTheirFamilyAndTheStampChangesOnlyTwoBytes) {
    const TypIdsRead alpha = readTypIds(builtData("alpha/alpha.typ"));
    ASSERT_TRUE(alpha.ids) << alpha.error;
    EXPECT_EQ(alpha.ids->fid, 4711);
    EXPECT_EQ(alpha.ids->pid, 1);
    EXPECT_EQ(readTypIds(builtData("beta/beta.typ")).ids->fid, 4712);

    const fs::path typ = copyIn(builtData("alpha/alpha.typ"));
    const auto before = readBytes(typ);
    ASSERT_TRUE(writeTypFid(typ, 40000));
    const auto after = readBytes(typ);
    EXPECT_EQ(differingOffsets(before, after), (std::vector<std::size_t>{0x2F, 0x30}));
    EXPECT_EQ(after[0x2F], 0x40);
    EXPECT_EQ(after[0x30], 0x9C);
    EXPECT_EQ(readTypIds(typ).ids->fid, 40000);
}

TEST_F(TypMdxStampTest, AStampedCopyDiffersFromItsSourceOnlyInTheFid) {
    const fs::path source = copyIn(builtData("beta/beta.typ"));
    const auto original = readBytes(source);
    const fs::path copy = folder() / "2104.Typ";

    ASSERT_TRUE(writeStampedTypCopy(source, copy, 1234));
    const auto stamped = readBytes(copy);
    ASSERT_EQ(stamped.size(), original.size());
    EXPECT_EQ(differingOffsets(original, stamped), (std::vector<std::size_t>{47, 48}));
    EXPECT_EQ(stamped[47], 0xD2);
    EXPECT_EQ(stamped[48], 0x04);
    EXPECT_EQ(readBytes(source), original);
}

TEST_F(TypMdxStampTest, ShortTypeFilesAreRefusedWithoutWriting) {
    const auto typ = readBytes(builtData("alpha/alpha.typ"));
    const std::vector<std::uint8_t> cut(typ.begin(), typ.begin() + 48);
    const fs::path shortTyp = writeFile("short.typ", cut);
    EXPECT_FALSE(readTypIds(shortTyp).ids);
    EXPECT_FALSE(writeTypFid(shortTyp, 7));
    EXPECT_FALSE(writeStampedTypCopy(shortTyp, folder() / "copy.typ", 7));
    EXPECT_EQ(readBytes(shortTyp), cut);
    EXPECT_FALSE(fs::exists(folder() / "copy.typ"));
}

TEST_F(TypMdxStampTest, IndexRecordsNameEveryTileAndTheStampTouchesOnlyTheirFids) {
    const MdxRead alpha = readMdx(builtData("alpha/11000000.mdx"));
    ASSERT_TRUE(alpha.records) << alpha.error;
    ASSERT_EQ(alpha.records->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*alpha.records)[i].fid, 4711);
        EXPECT_EQ((*alpha.records)[i].pid, 1);
        EXPECT_EQ((*alpha.records)[i].mapNumber, 11000001 + i);
    }

    const fs::path mdx = copyIn(builtData("alpha/11000000.mdx"));
    const auto before = readBytes(mdx);
    ASSERT_TRUE(writeMdxFid(mdx, 1234));
    const auto after = readBytes(mdx);
    EXPECT_EQ(differingOffsets(before, after), (std::vector<std::size_t>{20, 21, 32, 33, 44, 45}));
    EXPECT_EQ(after[20], 0xD2);
    EXPECT_EQ(after[45], 0x04);
}

TEST_F(TypMdxStampTest, TheStampNeedsOnlyTheFidBytesOfEveryCountedRecord) {
    const auto bytes = readBytes(builtData("beta/00120000.mdx"));
    ASSERT_EQ(bytes[10], 2);  // records at 14 and 26, FIDs at 20-21 and 32-33

    // The second record is cut after its FID: both FIDs lie in the file and are written.
    const std::vector<std::uint8_t> afterFid(bytes.begin(), bytes.begin() + 34);
    const fs::path cutAfterFid = writeFile("after-fid.mdx", afterFid);
    ASSERT_TRUE(writeMdxFid(cutAfterFid, 1234));
    const auto stamped = readBytes(cutAfterFid);
    ASSERT_EQ(stamped.size(), afterFid.size());
    EXPECT_EQ(differingOffsets(afterFid, stamped), (std::vector<std::size_t>{20, 21, 32, 33}));
    EXPECT_EQ(stamped[32], 0xD2);
    EXPECT_EQ(stamped[33], 0x04);

    // Cut inside the second FID: the file would have to grow, so nothing is written.
    const std::vector<std::uint8_t> insideFid(bytes.begin(), bytes.begin() + 33);
    const fs::path cutInsideFid = writeFile("inside-fid.mdx", insideFid);
    EXPECT_FALSE(writeMdxFid(cutInsideFid, 1234));
    EXPECT_EQ(readBytes(cutInsideFid), insideFid);
}

TEST_F(TypMdxStampTest, ACountBeyondTheRecordsOrAMissingCountWritesNothing) {
    auto bytes = readBytes(builtData("beta/00120000.mdx"));
    bytes[10] = 5;  // two records in the file
    const fs::path overcounted = writeFile("over.mdx", bytes);
    const MdxRead read = readMdx(overcounted);
    EXPECT_FALSE(read.records);
    EXPECT_NE(read.error.find("5 records"), std::string::npos) << read.error;
    EXPECT_FALSE(writeMdxFid(overcounted, 1));
    EXPECT_EQ(readBytes(overcounted), bytes);

    const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 11);
    const fs::path cut = writeFile("cut.mdx", head);
    EXPECT_FALSE(readMdx(cut).records);
    EXPECT_FALSE(writeMdxFid(cut, 1));
    EXPECT_EQ(readBytes(cut), head);
}

}  // namespace
}  // namespace veldra::formats
