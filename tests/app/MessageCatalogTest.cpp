// The catalog's filling rules and the language switch: which branch a stored
// language selects, what an unassigned entry keeps, and what the menu restores.
#include "app/MessageCatalog.h"

#include <gtest/gtest.h>

#include "app/LanguageSwitch.h"
#include "app/RegistryRoutines.h"
#include "app/Settings.h"
#include "platform/MemoryRegistry.h"
#include "support/ScriptedDialogs.h"

namespace veldra {
namespace {

using app::Msg;

TEST(MessageCatalog, LanguageValueChoosesTheBranch) {
    EXPECT_EQ(app::languageBranch(""), app::LanguageBranch::German);
    EXPECT_EQ(app::languageBranch(std::string(256, ' ')), app::LanguageBranch::German);
    EXPECT_EQ(app::languageBranch("Deu"), app::LanguageBranch::German);
    EXPECT_EQ(app::languageBranch("Eng"), app::LanguageBranch::English);
    EXPECT_EQ(app::languageBranch("eng"), app::LanguageBranch::None);
}

// Every entry has an English text; German leaves only the preview failure to
// the text the catalog held before, and an unknown language assigns nothing.
TEST(MessageCatalog, UnassignedEntriesKeepTheirPreviousText) {
    app::MessageCatalog english, german;
    english.fill("Eng");
    german.fill("Deu");
    for (int i = 0; i < static_cast<int>(Msg::Count); ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_FALSE(english.text(id).empty()) << app::MessageCatalog::name(id);
        EXPECT_EQ(german.text(id).empty(), id == Msg::MsgPreviewFailed) << app::MessageCatalog::name(id);
    }

    app::MessageCatalog catalog;
    catalog.fill("Eng");
    catalog.fill("Deu");
    EXPECT_EQ(catalog.text(Msg::MsgPreviewFailed), english.text(Msg::MsgPreviewFailed));
    catalog.fill("Fra");
    EXPECT_EQ(catalog.text(Msg::MsgIdExists), german.text(Msg::MsgIdExists));
    EXPECT_EQ(catalog.control("CommandButtonPV"), german.control("CommandButtonPV"));
}

TEST(MessageCatalog, ComposedEntriesNameTheFilesOfTheMapset) {
    app::MessageCatalog catalog;
    catalog.fill("Eng", {"/maps/tiles", "Alpsoooo", "/opt/veldra"});
    const std::string& manual = catalog.text(Msg::MsgManualPreviewInstructions);
    EXPECT_NE(manual.find("existing file /maps/tiles/Alpsoooo"), std::string::npos);
    EXPECT_NE(manual.find(".mp. Open in 'Explorer' folder /maps/tiles and drag&drop with left mousebutton file "
                          "Alpsoooo.mp over file /opt/veldra/Version97c/cgpsmapper.exe"),
              std::string::npos);
    EXPECT_EQ(catalog.text(Msg::MsgImgExists2),
              "Datei Alpsoooo.img exists already. Type in a different name and try it again.");
    // German keeps the English wording of the one and has no instructions.
    catalog.fill("Deu", {"/maps/tiles", "Alpsoooo", "/opt/veldra"});
    EXPECT_EQ(catalog.text(Msg::MsgImgExists2),
              "Datei Alpsoooo.img exists already. Type in a different name and try it again.");
    EXPECT_EQ(catalog.text(Msg::MsgManualPreviewInstructions).find("existing file"), std::string::npos);
}

class LanguageSwitchTest : public ::testing::Test {
protected:
    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
    app::Settings settings{routines};
};

TEST_F(LanguageSwitchTest, AnUnsetLanguageIsGermanAndSwitchesToEnglish) {
    catalog.fill(settings.language());
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "Kein File ausgewaehlt.");
    EXPECT_EQ(catalog.control("Sprachwahl"), "English");
    ASSERT_TRUE(app::switchLanguage(settings, catalog, {}));
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "No File choosed.");
}

TEST_F(LanguageSwitchTest, GermanToEnglishAndBackRestoresTheDesignCaptions) {
    ASSERT_TRUE(settings.setLanguage("Deu"));
    catalog.fill(settings.language());
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "Mapset hinzufuegen");

    ASSERT_TRUE(app::switchLanguage(settings, catalog, {}));
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "add mapset");
    EXPECT_EQ(catalog.control("Sprachwahl"), "Deutsch");

    ASSERT_TRUE(app::switchLanguage(settings, catalog, {}));
    EXPECT_EQ(settings.language(), "Deu");
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "Mapset hinzufuegen");
    EXPECT_EQ(catalog.control("Label4"), "ausgewaehlte Files :");
    // The German branch overrides what the restore action set for these two.
    EXPECT_EQ(catalog.control("CommandButtonPV"), "Mapset zu Mapsource hinzufuegen");
    EXPECT_EQ(catalog.control("Command1"), " Auswahl ist fertig");
    EXPECT_EQ(catalog.control("Sprachwahl"), "English");
}

}  // namespace
}  // namespace veldra
