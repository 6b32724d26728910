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

TEST_F(ConfinedPathTest, TextsOfEitherSeparatorAreNormalisedIntoTheBase) {
    const std::string b = pathText(base);
    const std::pair<std::string, fs::path> cases[] = {
        {"a.tdb", "a.tdb"},           {"sub\\a.tdb", "sub/a.tdb"},     {"sub\\\\/a.tdb", "sub/a.tdb"},
        {"./sub/./a.tdb", "sub/a.tdb"}, {"sub/x/../../a.tdb", "a.tdb"}, {"sub\\\\", "sub"}, {"sub/", "sub"},
        {"", ""},                     {".", ""},                       {"sub\\x\\..\\..\\", ""},
        {b, ""},                      {b + "/", ""},                   {b + "\\sub\\a.tdb", "sub/a.tdb"},
        {b + "//./sub//a.tdb", "sub/a.tdb"},
        // Dots inside or around a real name are that name.
        {"a..b/.hidden/x.tdb.", "a..b/.hidden/x.tdb."},
    };
    for (const auto& [text, relative] : cases)
        EXPECT_EQ(inside(text), relative.empty() ? base : base / relative) << text;
}

TEST_F(ConfinedPathTest, StepsAboveTheBaseDrivesSharesAndNamesWindowsWouldTrimAreRefused) {
    const std::string b = pathText(base);
    const std::string refusedTexts[] = {
        "..", "..\\a.tdb", "../Product1/a.tdb", "a/../..", "a\\b\\..\\..\\..\\c", "./../a", "a/./../../Product1/a",
        "/etc/passwd", "\\etc\\passwd", pathText(base.parent_path() / "victim.txt"), b + "/../Product1/a.tdb",
        b + "/sub/../../a.tdb", pathText(base.parent_path()),
        b + "2/a.tdb",  // a sibling whose name begins with the base's name
        "C:\\Windows\\x.tdb", "c:/x.tdb", "C:x.tdb", "C:", "\\\\server\\share\\x.tdb", "//server/share/x.tdb", "...",
        "sub/.../a.tdb", ". .", ".. ", "sub/.. /a", std::string("a\0b", 3)};
    for (const auto& text : refusedTexts) EXPECT_TRUE(refused(text)) << text;

    const auto result = confinedPath(base, "..\\..\\elsewhere\\victim.txt");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.failure().message, std::nullopt);
    EXPECT_EQ(result.failure().detail, "The path \"..\\..\\elsewhere\\victim.txt\" does not stay inside the folder " + b);
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
