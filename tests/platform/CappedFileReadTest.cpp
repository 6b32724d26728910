#include "platform/CappedFileRead.h"

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

TEST(CappedFileReadTest, AFileUpToTheCapIsReadWholeALargerOneIsRefused) {
    const testing::TempDir folder;
    testing::writeText(folder / "a.bin", "12345");
    EXPECT_EQ(platform::readFileCapped(folder / "a.bin", 5).value(), (std::vector<std::uint8_t>{'1', '2', '3', '4', '5'}));
    testing::writeText(folder / "empty.bin", "");
    EXPECT_TRUE(platform::readFileCapped(folder / "empty.bin", 0).value().empty());

    testing::writeText(folder / "a.bin", "123456");
    const auto read = platform::readFileCapped(folder / "a.bin", 5);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.failure().detail, "refusing to read " + (folder / "a.bin").string() +
                                         ": it holds 6 bytes, more than the 5 a file of its kind ever has");
    // The catalog's reading tells it apart without reading it.
    const platform::FileStart large = platform::readSmallFile(folder / "a.bin", 5);
    EXPECT_EQ(large.state, platform::FileStart::State::TooLarge);
    EXPECT_EQ(large.size, 6u);
    EXPECT_TRUE(large.bytes.empty());
    // The uncapped reading takes it.
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(platform::readWholeFile(folder / "a.bin", bytes));
    EXPECT_EQ(bytes.size(), 6u);
}

TEST(CappedFileReadTest, MissingFilesAndFoldersAreNotRead) {
    const testing::TempDir folder;
    EXPECT_EQ(platform::readFileCapped(folder / "missing", 10).failure().detail,
              "cannot open " + (folder / "missing").string());
    EXPECT_EQ(platform::readFileCapped(folder.path(), platform::MiB).failure().detail,
              "cannot read the size of " + folder.path().string());
    // What the catalog skips without a word.
    for (const auto& none : {folder / "missing", folder.path()})
        EXPECT_EQ(platform::readSmallFile(none, 10).state, platform::FileStart::State::NoFile) << none;
}

}  // namespace
}  // namespace veldra
