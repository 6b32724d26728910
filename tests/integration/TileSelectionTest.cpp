#include <gtest/gtest.h>

#include "app/LikePattern.h"
#include "app/MessageCatalog.h"
#include "integration/TileSelection.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

using integration::TileSelection;
using Files = std::vector<std::string>;

TEST(TileNames, TilesGmapsuppsAndListedFilesAreKnownByTheirNames) {
    // The numeric test also takes a sign or a decimal point.
    for (const char* tile : {"12345678.img", "/maps/alps/63240001.IMG", "+1234567.img", "1234.567.img"})
        EXPECT_TRUE(integration::isTileName(tile)) << tile;
    for (const char* other : {"1234567.img", "1234567a.img"}) EXPECT_FALSE(integration::isTileName(other)) << other;
    EXPECT_TRUE(integration::isGmapsuppName("/x/GMAPSUPP.IMG"));
    EXPECT_TRUE(integration::isGmapsuppName("my_gmapsupp.img"));
    EXPECT_FALSE(integration::isGmapsuppName("gmapsupp.imgx"));
    // The file list shows eight-character .img files only.
    EXPECT_TRUE(integration::listedAsTile("12345678.img"));
    EXPECT_TRUE(integration::listedAsTile("gmapsupp.Img"));
    EXPECT_FALSE(integration::listedAsTile("1234567.img"));
    EXPECT_FALSE(integration::listedAsTile("12345678.iMg"));
}

TEST(LikePattern, WildcardsOfTheListComparison) {
    for (const char* pattern : {"/a/12345678.img", "/a/*.img", "/a/1234567?.img", "/a/########.img"})
        EXPECT_TRUE(app::likePattern("/a/12345678.img", pattern)) << pattern;
    EXPECT_TRUE(app::likePattern("b", "[a-c]"));
    EXPECT_FALSE(app::likePattern("b", "[!a-c]"));
    EXPECT_FALSE(app::likePattern("/a/12345678.IMG", "/a/12345678.img"));
    EXPECT_FALSE(app::likePattern("/a/x.img", "/a/#.img"));
}

class TileSelectionTest : public ::testing::Test {
protected:
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog = [] {
        app::MessageCatalog english;
        english.fill("Eng");
        return english;
    }();
    TileSelection selection{dialogs, catalog};
};

TEST_F(TileSelectionTest, TilesReplaceThePlaceholderOnceEachAndTheLastOneRemovedBringsItBack) {
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_FALSE(selection.selectionFinishedEnabled());
    selection.addFromFolder("/maps/alps", "12345678.img");
    selection.addFromFolder("/maps/alps/", "12345679.img");
    selection.addFromFolder("/maps/alps", "12345678.img");
    EXPECT_EQ(selection.entries(), (Files{"/maps/alps/12345678.img", "/maps/alps/12345679.img"}));
    EXPECT_EQ(selection.chosenFiles().size(), 2u);
    EXPECT_EQ(selection.tileFolder(), "/maps/alps/");
    EXPECT_TRUE(selection.selectionFinishedEnabled());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File always exist.");
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA-TOOL");

    selection.removeAt(1);
    selection.removeAt(0);
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_FALSE(selection.selectionFinishedEnabled());
}

TEST_F(TileSelectionTest, WrongNamesAndGmapsuppsBelowADottedFolderAreRefused) {
    selection.addFromFolder("/maps", "readme.img");
    selection.addFromFolder("/maps/v1.2", "gmapsupp.img");
    EXPECT_EQ(selection.entries(), Files{"No File choosed."});
    EXPECT_FALSE(selection.gmapsuppSelected());
    EXPECT_TRUE(selection.nextMapsetEnabled());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgWrongTileName));
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA");
    EXPECT_EQ(dialogs.messages[1].text, catalog.text(app::Msg::MsgGmapsuppPathDots));
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

TEST_F(TileSelectionTest, DroppedFilesAddOnlyTilesAndNoneWhileShowingTheProgramFolder) {
    selection.addDropped({"/maps/12345678.img", "/maps/notes.txt", "/maps/12345679.img", "/maps/12345678.img"},
                         "/home", "/opt/veldra");
    EXPECT_EQ(selection.entries(), (Files{"/maps/12345678.img", "/maps/12345679.img"}));
    EXPECT_EQ(selection.tileFolder(), "/maps/");
    EXPECT_TRUE(dialogs.messages.empty());

    selection.addDropped({"/opt/VELDRA/12345679.img"}, "/opt/VELDRA/", "/opt/veldra");
    EXPECT_EQ(selection.entries().size(), 2u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgTileInProgramFolder));
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
