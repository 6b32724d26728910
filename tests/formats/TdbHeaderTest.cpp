#include "formats/TdbHeader.h"

#include <gtest/gtest.h>

#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

class TdbHeaderTest : public ScratchFolder {};

TEST_F(TdbHeaderTest, ReadsTheFieldsMkgmapWrote) {
    const TdbHeaderRead alpha = readTdbHeader(AlphaTdb);
    ASSERT_TRUE(alpha.header) << alpha.error;
    EXPECT_EQ(alpha.header->pid, 1);
    EXPECT_EQ(alpha.header->fid, 4711);
    EXPECT_EQ(alpha.header->version, 407);
    EXPECT_EQ(alpha.header->shownName(), "Veldra Alpha");
    // The catalog's 40 characters run on past the series name's terminator.
    EXPECT_EQ(alpha.header->nameField.size(), TdbNameFieldLimit);
    EXPECT_EQ(alpha.header->nameField.substr(0, 13), std::string("Veldra Alpha\0", 13));

    const TdbHeaderRead beta = readTdbHeader(BetaTdb);
    ASSERT_TRUE(beta.header) << beta.error;
    EXPECT_EQ(beta.header->fid, 4712);
    EXPECT_EQ(beta.header->shownName(), "Veldra Beta");
    EXPECT_EQ(beta.header->headerLength, 73);
}

TEST_F(TdbHeaderTest, TakesTheNameOnlyFromTheFirstHeaderLengthBytes) {
    auto bytes = readBytes(AlphaTdb);
    bytes[1] = 15;  // header length 15: bytes 9..14 are all the name there is
    bytes[2] = 0;
    const auto header = parseTdbHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->nameField, "Veldra");

    bytes[1] = 5;  // shorter than the fixed fields: no name at all
    EXPECT_EQ(parseTdbHeader(bytes)->nameField, "");
}

TEST_F(TdbHeaderTest, ShortFilesGiveAnErrorInsteadOfAHeader) {
    const auto bytes = readBytes(AlphaTdb);
    const fs::path cut = writeFile("cut.tdb", {bytes.begin(), bytes.begin() + 8});
    const TdbHeaderRead read = readTdbHeader(cut);
    EXPECT_FALSE(read.header);
    EXPECT_NE(read.error.find("too short"), std::string::npos) << read.error;

    const fs::path twelve = writeFile("twelve.tdb", {bytes.begin(), bytes.begin() + 12});
    const TdbHeaderRead partial = readTdbHeader(twelve);
    ASSERT_TRUE(partial.header);
    EXPECT_EQ(partial.header->nameField, "Vel");

    EXPECT_FALSE(readTdbHeader(folder() / "missing.tdb").header);
}

}  // namespace
}  // namespace veldra::formats
