#include "app/MapsetNaming.h"

#include <gtest/gtest.h>

#include "app/MessageCatalog.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

// The refusals themselves are run end to end by the integrate command's tests.
TEST(MapsetNaming, NamesAreCutAtAnUmlautAndComparedAsPatternsAndFidsAsNumbers) {
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    catalog.fill("Eng");
    EXPECT_EQ(app::validatedMapsetName("Karte Österreich", dialogs, catalog), "Karte ");
    EXPECT_EQ(app::validatedMapsetName("Alps 2", dialogs, catalog), "Alps 2");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{catalog.text(app::Msg::MsgNoSpecialCharacters)});

    const app::NamesInUse inUse{{"Alps", "Topo*"}, {"10", "11", "Fehler"}, {"12"}};
    EXPECT_TRUE(app::nameInUse("Alps", inUse, dialogs, catalog));
    EXPECT_TRUE(app::nameInUse("Topo Deutschland", inUse, dialogs, catalog));
    EXPECT_FALSE(app::nameInUse("alps", inUse, dialogs, catalog));
    EXPECT_TRUE(app::fidInUse("11", inUse, dialogs, catalog));
    EXPECT_TRUE(app::fidInUse("012", inUse, dialogs, catalog));
    EXPECT_FALSE(app::fidInUse("13", inUse, dialogs, catalog));
    ASSERT_EQ(dialogs.messages.size(), 5u);
    EXPECT_EQ(dialogs.messages[1].title, "VELDRA-TOOL");
    EXPECT_EQ(dialogs.messages[1].text, catalog.text(app::Msg::MsgNameExists));
    EXPECT_EQ(dialogs.messages[4].title, "VELDRA");
}

}  // namespace
}  // namespace veldra
