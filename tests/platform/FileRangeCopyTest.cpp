#include "platform/FileRangeCopy.h"

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

using platform::OpenFile;

TEST(FileRangeCopy, RangesLandOneAfterAnotherAndARangePastTheEndWritesNothing) {
    testing::TempDir temp;
    std::vector<std::uint8_t> source(2 * platform::CopyPieceSize + 4321);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7 % 251);
    testing::writeBytes(temp.path() / "source", source);

    OpenFile from(temp.path() / "source", OpenFile::Mode::Read);
    OpenFile to(temp.path() / "copy", OpenFile::Mode::Write);
    ASSERT_TRUE(from.isOpen() && to.isOpen());
    const std::uint8_t head[] = {'H', 'E', 'A', 'D'};
    ASSERT_TRUE(to.write(head));
    ASSERT_TRUE(platform::copyFileRange(from, 1000, 3000, to));
    ASSERT_TRUE(platform::copyFileRange(from, source.size(), 0, to));
    const auto pastTheEnd = platform::copyFileRange(from, source.size() - 10, 11, to);
    EXPECT_FALSE(pastTheEnd);
    EXPECT_NE(pastTheEnd.error.find("past the end"), std::string::npos) << pastTheEnd.error;
    EXPECT_FALSE(platform::copyFileRange(from, source.size() + 1, 0, to));
    // More than one piece: by the system, then through memory with each byte changed.
    const std::uint64_t large = 2 * platform::CopyPieceSize + 123;
    ASSERT_TRUE(platform::copyFileRange(from, 5, large, to));
    ASSERT_TRUE(platform::copyFileRange(from, 5, large, to, [](std::span<std::uint8_t> bytes) {
        for (auto& byte : bytes) byte ^= 0x5A;
    }));
    ASSERT_TRUE(to.close());

    std::vector<std::uint8_t> expected(head, head + 4);
    expected.insert(expected.end(), source.begin() + 1000, source.begin() + 4000);
    expected.insert(expected.end(), source.begin() + 5, source.begin() + 5 + large);
    for (std::size_t i = 5; i < 5 + large; ++i) expected.push_back(static_cast<std::uint8_t>(source[i] ^ 0x5A));
    const auto copy = testing::readBytes(temp.path() / "copy");
    ASSERT_EQ(copy.size(), expected.size());
    EXPECT_TRUE(copy == expected) << "the copy differs from the source's ranges";

    EXPECT_FALSE(OpenFile(temp.path() / "missing", OpenFile::Mode::Read).isOpen());
    EXPECT_FALSE(OpenFile(temp.path() / "no" / "copy", OpenFile::Mode::Write).isOpen());
}

}  // namespace
}  // namespace veldra
