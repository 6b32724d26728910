#include "platform/FolderCopy.h"

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;

TEST(FolderCopyTest, CopiesTheFolderUnderItsNameAndReplacesSameNamedFiles) {
    testing::TempDir dir;
    const fs::path source = dir.path() / "usb" / "Topo.gmap";
    fs::create_directories(source / "Product1");
    testing::writeText(source / "Info.xml", "new");
    testing::writeText(source / "Product1" / "a.tdb", "tdb");
    const fs::path destination = dir.path() / "maps";
    fs::create_directories(destination / "Topo.gmap");
    testing::writeText(destination / "Topo.gmap" / "Info.xml", "old");
    testing::writeText(destination / "Topo.gmap" / "keep.txt", "keep");

    ASSERT_TRUE(copyFolderInto(source / "", destination));
    EXPECT_EQ(testing::readText(destination / "Topo.gmap" / "Info.xml"), "new");
    EXPECT_EQ(testing::readText(destination / "Topo.gmap" / "Product1" / "a.tdb"), "tdb");
    EXPECT_EQ(testing::readText(destination / "Topo.gmap" / "keep.txt"), "keep");
    // A destination that does not exist yet is made.
    ASSERT_TRUE(copyFolderInto(source, dir.path() / "new" / "place"));
    EXPECT_TRUE(fs::exists(dir.path() / "new" / "place" / "Topo.gmap" / "Product1" / "a.tdb"));
}

TEST(FolderCopyTest, RefusesToCopyAFolderIntoItselfOrOneThatIsMissing) {
    testing::TempDir dir;
    const fs::path source = dir.path() / "alpha";
    fs::create_directories(source);
    testing::writeText(source / "x.img", "x");
    EXPECT_FALSE(copyFolderInto(source, source / "sub"));
    EXPECT_FALSE(copyFolderInto(source, dir.path()));  // onto itself
    EXPECT_FALSE(fs::exists(source / "sub"));
    EXPECT_FALSE(copyFolderInto(dir.path() / "missing", dir.path() / "out"));
}

}  // namespace
}  // namespace veldra::platform
