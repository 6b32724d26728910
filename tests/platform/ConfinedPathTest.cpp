#include "platform/ConfinedPath.h"

#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "support/TempFolder.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using platform::confinedPath;
using platform::pathText;

class ConfinedPathTest : public ::testing::Test {
protected:
    fs::path inside(std::string_view text) const {
        const auto result = confinedPath(base, text);
        EXPECT_TRUE(result) << text << ": " << (result ? "" : result.failure().detail);
        return result ? result.value() : fs::path();
    }
    bool refused(std::string_view text) const { return !confinedPath(base, text).ok(); }

    testing::TempDir temp;
    fs::path base = temp / "Topo.gmap" / "Product1";
};

TEST_F(ConfinedPathTest, RelativeTextsOfEitherSeparatorAreNormalisedIntoTheBase) {
    EXPECT_EQ(inside("a.tdb"), base / "a.tdb");
    EXPECT_EQ(inside("sub\\a.tdb"), base / "sub" / "a.tdb");
    EXPECT_EQ(inside("sub/a.tdb"), base / "sub" / "a.tdb");
    EXPECT_EQ(inside("sub\\\\/a.tdb"), base / "sub" / "a.tdb");
    EXPECT_EQ(inside("./sub/./a.tdb"), base / "sub" / "a.tdb");
    EXPECT_EQ(inside("sub\\..\\a.tdb"), base / "a.tdb");
    EXPECT_EQ(inside("sub/x/../../a.tdb"), base / "a.tdb");
    EXPECT_EQ(inside("sub/"), base / "sub");
    EXPECT_EQ(inside("sub\\\\"), base / "sub");
}

TEST_F(ConfinedPathTest, TheBaseItselfIsInside) {
    for (const std::string_view text : {"", ".", "./", "sub/..", "sub\\x\\..\\..\\"}) EXPECT_EQ(inside(text), base) << text;
    EXPECT_EQ(inside(pathText(base)), base);
    EXPECT_EQ(inside(pathText(base) + "/"), base);
}

TEST_F(ConfinedPathTest, AParentStepAboveTheBaseIsRefusedWhereverItStands) {
    for (const std::string_view text :
         {"..", "../", "..\\a.tdb", "../Product1/a.tdb", "a/../..", "a/../../b", "a\\b\\..\\..\\..\\c", "a/b/../../..",
          "./../a", "a/./../../Product1/a", "../../elsewhere/victim.txt"})
        EXPECT_TRUE(refused(text)) << text;
}

TEST_F(ConfinedPathTest, AbsoluteTextsCountOnlyWhenTheyStartWithTheBaseItself) {
    EXPECT_EQ(inside(pathText(base / "sub" / "a.tdb")), base / "sub" / "a.tdb");
    EXPECT_EQ(inside(pathText(base) + "\\sub\\a.tdb"), base / "sub" / "a.tdb");
    EXPECT_EQ(inside(pathText(base) + "//./sub//a.tdb"), base / "sub" / "a.tdb");

    EXPECT_TRUE(refused("/etc/passwd"));
    EXPECT_TRUE(refused("\\etc\\passwd"));
    EXPECT_TRUE(refused(pathText(base.parent_path() / "victim.txt")));
    EXPECT_TRUE(refused(pathText(base) + "/../Product1/a.tdb"));
    EXPECT_TRUE(refused(pathText(base) + "/sub/../../a.tdb"));
    // A sibling whose name begins with the base's name is not inside it.
    EXPECT_TRUE(refused(pathText(base) + "2/a.tdb"));
    EXPECT_TRUE(refused(pathText(base.parent_path())));
}

TEST_F(ConfinedPathTest, DrivesSharesAndNamesWindowsWouldTrimAreRefused) {
    for (const std::string_view text : {"C:\\Windows\\x.tdb", "c:/x.tdb", "C:x.tdb", "C:", "\\\\server\\share\\x.tdb",
                                        "//server/share/x.tdb", "...", "sub/.../a.tdb", ". .", ".. ", "sub/.. /a"})
        EXPECT_TRUE(refused(text)) << text;
    EXPECT_TRUE(refused(std::string_view("a\0b", 3)));
    // Dots inside or around a real name are that name.
    EXPECT_EQ(inside("a..b/.hidden/x.tdb."), base / "a..b" / ".hidden" / "x.tdb.");
}

TEST_F(ConfinedPathTest, TheRefusalNamesTheTextAndTheFolder) {
    const auto result = confinedPath(base, "..\\..\\elsewhere\\victim.txt");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.failure().message, std::nullopt);
    EXPECT_EQ(result.failure().detail, "The path \"..\\..\\elsewhere\\victim.txt\" does not stay inside the folder " +
                                           pathText(base));
}

TEST_F(ConfinedPathTest, SymbolicLinksInsideTheBaseAreFollowedAsTheyLie) {
    // Lexical by design: a link inside the folder is the user's own arrangement.
    fs::create_directories(base);
    fs::create_directories(temp / "elsewhere");
    fs::create_directory_symlink(temp / "elsewhere", base / "linked");
    EXPECT_EQ(inside("linked/a.tdb"), base / "linked" / "a.tdb");
    // Its ".." would lead somewhere else than it reads, and is refused as any ".." above the base.
    EXPECT_TRUE(refused("linked/../../Product1/a.tdb"));
}

}  // namespace
}  // namespace veldra
