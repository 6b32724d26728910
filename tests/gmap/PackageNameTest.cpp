// The two cleaning passes a package name goes through: the folder name, then
// the name Info.xml shows.

#include <gtest/gtest.h>

#include "gmap/PackageName.h"

namespace veldra::gmap {
namespace {

TEST(PackageNameTest, FirstPassReplacesSeparatorsAndAccentedVowelsSecondLeavesQuestionMarks) {
    EXPECT_EQ(cleanedMapsetName("Carte été/2"), "Carte_été_2");
    EXPECT_EQ(cleanedMapsetName("Ärger Öl Über"), "Arger_Ol_Uber");
    EXPECT_EQ(cleanedMapsetName("ärger øre ùber"), "Arger_Ore_Uber");
    EXPECT_EQ(cleanedMapsetName("a\\b"), "a_b");
    // Letters the table does not name stay, as do the sharp s and the cedilla.
    EXPECT_EQ(cleanedMapsetName("Straße Çà"), "Straße_ÇA");
    // The second pass leaves one question mark per character beyond ASCII.
    EXPECT_EQ(asciiWithQuestionMarks("Carte_été_2"), "Carte_?t?_2");
    EXPECT_EQ(asciiWithQuestionMarks("Arger_Ol_Uber"), "Arger_Ol_Uber");
    EXPECT_EQ(asciiWithQuestionMarks("Map \xF0\x9F\x97\xBA €"), "Map ? ?");  // a character beyond 16 bits is one
}

}  // namespace
}  // namespace veldra::gmap
