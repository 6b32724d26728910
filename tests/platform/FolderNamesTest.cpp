#include "platform/FolderNames.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/PathText.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;

TEST(FolderNamesTest, EveryEntryByNameAndNothingForWhatIsNoFolder) {
    const testing::TempDir folder;
    testing::writeText(folder / "Info.xml", "x");
    testing::writeText(folder / platform::pathFromText("Käse.txt"), "");
    fs::create_directory(folder / "Product1");
    std::vector<std::string> expected{"Info.xml", "Käse.txt", "Product1"};
    // Windows without developer mode makes no links; the listing is tested all the same.
    std::error_code noLinks;
    fs::create_directory_symlink("missing", folder / "dangling", noLinks);
    if (!noLinks) expected.push_back("dangling");
    std::vector<std::string> names = platform::folderEntryNames(folder.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);

    EXPECT_TRUE(platform::folderEntryNames(folder / "Product1").empty());
    EXPECT_TRUE(platform::folderEntryNames(folder / "missing").empty());
    EXPECT_TRUE(platform::folderEntryNames(folder / "Info.xml").empty());
}

}  // namespace
}  // namespace veldra
