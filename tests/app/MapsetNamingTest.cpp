#include <gtest/gtest.h>

#include "app/MapsetNaming.h"
#include "app/MessageCatalog.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

class MapsetNamingTest : public ::testing::Test {
protected:
    MapsetNamingTest() { catalog.fill("Eng"); }
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::NamesInUse inUse{{"Alps", "Topo*"}, {"10", "11", "Fehler"}, {"12"}};
};

TEST_F(MapsetNamingTest, ANameIsCutBeforeItsFirstUmlaut) {
    EXPECT_EQ(app::validatedMapsetName("Karte Österreich", dialogs, catalog), "Karte ");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgNoSpecialCharacters));
    EXPECT_EQ(app::validatedMapsetName("Alps 2", dialogs, catalog), "Alps 2");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(MapsetNamingTest, InstalledNamesAreComparedAsPatterns) {
    EXPECT_TRUE(app::nameInUse("Alps", inUse, dialogs, catalog));
    EXPECT_TRUE(app::nameInUse("Topo Deutschland", inUse, dialogs, catalog));
    EXPECT_FALSE(app::nameInUse("alps", inUse, dialogs, catalog));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "VELDRA-TOOL");
    EXPECT_EQ(dialogs.messages[0].text, catalog.text(app::Msg::MsgNameExists));
}

TEST_F(MapsetNamingTest, FidsOfRecordsAndPackagesAreRefusedAlike) {
    EXPECT_TRUE(app::fidInUse("11", inUse, dialogs, catalog));
    EXPECT_TRUE(app::fidInUse("012", inUse, dialogs, catalog));
    EXPECT_FALSE(app::fidInUse("13", inUse, dialogs, catalog));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "ID-Nr. exists already.");
    EXPECT_EQ(dialogs.messages[1].title, "VELDRA");
}

}  // namespace
}  // namespace veldra
