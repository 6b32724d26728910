#include <gtest/gtest.h>

#include "app/LikePattern.h"
#include "app/MessageCatalog.h"
#include "integration/TileSelection.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

using integration::TileSelection;
using Files = std::vector<std::string>;

TEST(TileNames, EightNumericCharactersBeforeTheExtension) {
    EXPECT_TRUE(integration::isTileName("12345678.img"));
    EXPECT_TRUE(integration::isTileName("/maps/alps/63240001.IMG"));
    // The numeric test also takes a sign or a decimal point.
    EXPECT_TRUE(integration::isTileName("+1234567.img"));
    EXPECT_TRUE(integration::isTileName("1234.567.img"));
    EXPECT_FALSE(integration::isTileName("1234567.img"));
    EXPECT_FALSE(integration::isTileName("1234567a.img"));
    EXPECT_TRUE(integration::isGmapsuppName("/x/GMAPSUPP.IMG"));
    EXPECT_TRUE(integration::isGmapsuppName("my_gmapsupp.img"));
    EXPECT_FALSE(integration::isGmapsuppName("gmapsupp.imgx"));
}

TEST(TileNames, FileListShowsEightCharacterImgFilesOnly) {
    EXPECT_TRUE(integration::listedAsTile("12345678.img"));
    EXPECT_TRUE(integration::listedAsTile("gmapsupp.Img"));
    EXPECT_FALSE(integration::listedAsTile("1234567.img"));
    EXPECT_FALSE(integration::listedAsTile("12345678.iMg"));
}

TEST(LikePattern, WildcardsOfTheListComparison) {
    EXPECT_TRUE(app::likePattern("/a/12345678.img", "/a/12345678.img"));
    EXPECT_TRUE(app::likePattern("/a/12345678.img", "/a/*.img"));
    EXPECT_TRUE(app::likePattern("/a/12345678.img", "/a/1234567?.img"));
    EXPECT_TRUE(app::likePattern("/a/12345678.img", "/a/########.img"));
    EXPECT_TRUE(app::likePattern("b", "[a-c]"));
    EXPECT_FALSE(app::likePattern("b", "[!a-c]"));
    EXPECT_FALSE(app::likePattern("/a/12345678.IMG", "/a/12345678.img"));
    EXPECT_FALSE(app::likePattern("/a/x.img", "/a/#.img"));
}

app::MessageCatalog englishCatalog() {
    app::MessageCatalog catalog;
    catalog.fill("Eng");
    return catalog;
}

class TileSelectionTest : public ::testing::Test {
protected:
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog = englishCatalog();
    TileSelection selection{dialogs, catalog};
};

TEST_F(TileSelectionTest, StartsWithThePlaceholder) {
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_TRUE(selection.chosenFiles().empty());
    EXPECT_FALSE(selection.selectionFinishedEnabled());
}

TEST_F(TileSelectionTest, DoubleClickedTilesReplaceThePlaceholderAndSetTheFolder) {
    selection.addFromFolder("/maps/alps", "12345678.img");
    selection.addFromFolder("/maps/alps/", "12345679.img");
    EXPECT_EQ(selection.entries(), (Files{"/maps/alps/12345678.img", "/maps/alps/12345679.img"}));
    EXPECT_EQ(selection.tileFolder(), "/maps/alps/");
    EXPECT_TRUE(selection.selectionFinishedEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TileSelectionTest, ATileChosenTwiceIsRefused) {
    selection.addFromFolder("/maps", "12345678.img");
    selection.addFromFolder("/maps", "12345678.img");
    selection.addFromFolder("/maps", "12345679.img");
    selection.addFromFolder("/maps", "12345679.img");
    EXPECT_EQ(selection.entries().size(), 2u);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "File always exist.");
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA-TOOL");
}

TEST_F(TileSelectionTest, WrongNamesAreRefused) {
    selection.addFromFolder("/maps", "readme.img");
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgWrongTileName));
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA");
}

TEST_F(TileSelectionTest, AGmapsuppReplacesTilesAndTakesNoMoreFiles) {
    selection.addFromFolder("/maps", "12345678.img");
    selection.addFromFolder("/maps", "gmapsupp.img");
    EXPECT_EQ(selection.entries(), Files{"/maps/gmapsupp.img"});
    EXPECT_TRUE(selection.gmapsuppSelected());
    EXPECT_FALSE(selection.levelAndZoomVisible());
    selection.addFromFolder("/maps", "12345679.img");
    EXPECT_EQ(selection.entries(), Files{"/maps/gmapsupp.img"});
    selection.addDropped({"/maps/12345679.img"}, "/maps", "/opt/veldra");
    EXPECT_EQ(selection.entries(), Files{"/maps/gmapsupp.img"});
    selection.focusLost();
    EXPECT_TRUE(selection.gmapsuppSelected());
}

TEST_F(TileSelectionTest, AGmapsuppBelowADottedFolderIsRefused) {
    selection.addFromFolder("/maps/v1.2", "gmapsupp.img");
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_FALSE(selection.gmapsuppSelected());
    EXPECT_TRUE(selection.nextMapsetEnabled());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgGmapsuppPathDots));
}

TEST_F(TileSelectionTest, DroppedFilesAddOnlyTiles) {
    selection.addDropped({"/maps/12345678.img", "/maps/notes.txt", "/maps/12345679.img", "/maps/12345678.img"},
                         "/home", "/opt/veldra");
    EXPECT_EQ(selection.entries(), (Files{"/maps/12345678.img", "/maps/12345679.img"}));
    EXPECT_EQ(selection.tileFolder(), "/maps/");
    EXPECT_TRUE(selection.selectionFinishedEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TileSelectionTest, DropsWhileShowingTheProgramFolderAreRefused) {
    selection.addDropped({"/opt/VELDRA/12345678.img"}, "/opt/VELDRA/", "/opt/veldra");
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgTileInProgramFolder));
}

TEST_F(TileSelectionTest, RemovingTheLastEntryBringsBackThePlaceholder) {
    selection.addFromFolder("/maps", "12345678.img");
    selection.removeAt(0);
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_FALSE(selection.selectionFinishedEnabled());
}

TEST_F(TileSelectionTest, ThePlaceholderOfTheOtherLanguageIsReplacedToo) {
    catalog.fill("Deu");
    TileSelection german{dialogs, catalog};
    catalog.fill("Eng");
    german.addFromFolder("/maps", "12345678.img");
    EXPECT_EQ(german.entries(), Files{"/maps/12345678.img"});
}

}  // namespace
}  // namespace veldra
