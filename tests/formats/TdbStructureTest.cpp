// Telling a TDB from other files before anything is read from or written to it.

#include <gtest/gtest.h>

#include "formats/TdbStructure.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

class TdbStructureTest : public testing::ScratchFolder {};

TEST_F(TdbStructureTest, OnlyAWholeRunOfBlocksStartingWithTheHeaderIsATdb) {
    const auto tdb = testing::readBytes(testing::AlphaTdb);
    EXPECT_TRUE(isTdbBlockRun(tdb));
    EXPECT_TRUE(checkTdbFile(testing::AlphaTdb));

    auto cut = tdb;
    cut.pop_back();
    EXPECT_FALSE(isTdbBlockRun(cut));
    auto longer = tdb;
    longer.push_back(0);
    EXPECT_FALSE(isTdbBlockRun(longer));
    auto otherFirstBlock = tdb;
    otherFirstBlock[0] = 0x52;
    EXPECT_FALSE(isTdbBlockRun(otherFirstBlock));
    EXPECT_FALSE(isTdbBlockRun(std::vector<std::uint8_t>{0x50, 0x02, 0x00, 0x01, 0x00}));  // no room for the IDs
    EXPECT_FALSE(isTdbBlockRun(std::vector<std::uint8_t>{0x50, 0x06}));
    EXPECT_FALSE(isTdbBlockRun(std::vector<std::uint8_t>{}));

    const auto typ = checkTdbFile(testing::builtData("alpha/alpha.typ"));
    ASSERT_FALSE(typ);
    EXPECT_NE(typ.failure().detail.find("alpha.typ"), std::string::npos);
    EXPECT_FALSE(checkTdbFile(folder() / "missing.tdb"));
}

}  // namespace
}  // namespace veldra::formats
