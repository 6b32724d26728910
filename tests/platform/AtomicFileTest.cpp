#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> read(const fs::path& p) {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(platform::readWholeFile(p, bytes));
        return bytes;
    }
    testing::TempDir temp;
    const fs::path& dir = temp.path();
};

TEST_F(AtomicFileTest, ReplaceLeavesOnlyTheNewFileOrFailsClearly) {
    const fs::path target = dir / "a.tdb";
    ASSERT_TRUE(platform::replaceFileAtomically(target, std::string_view("old")));
    ASSERT_TRUE(platform::replaceFileAtomically(target, std::string_view("new bytes")));
    EXPECT_EQ(read(target), (std::vector<std::uint8_t>{'n', 'e', 'w', ' ', 'b', 'y', 't', 'e', 's'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // A missing folder or file fails clearly.
    auto result = platform::replaceFileAtomically(dir / "no" / "a.tdb", std::string_view("x"));
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("cannot create"), std::string::npos);
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(platform::readWholeFile(dir / "missing", bytes));
}

TEST_F(AtomicFileTest, PatchWritesExactlyTheNamedBytes) {
    const fs::path target = dir / "t.img";
    ASSERT_TRUE(platform::replaceFileAtomically(target, std::string_view("abcdef")));
    const std::uint8_t patch[] = {'X', 'Y'};
    ASSERT_TRUE(platform::patchFileInPlace(target, 4, patch));
    EXPECT_EQ(read(target), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 'X', 'Y'}));
    // Past the end: refused, nothing written, the size unchanged.
    EXPECT_FALSE(platform::patchFileInPlace(target, 5, patch));
    EXPECT_FALSE(platform::patchFileInPlace(target, 7, std::span<const std::uint8_t>(patch, 1)));
    EXPECT_EQ(read(target), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 'X', 'Y'}));
}

}  // namespace
}  // namespace veldra
