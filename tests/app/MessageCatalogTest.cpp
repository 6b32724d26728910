#include <gtest/gtest.h>

#include "app/LanguageSwitch.h"
#include "app/MessageCatalog.h"
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

TEST(MessageCatalog, EveryPlainEntryHasBothLanguagesButOne) {
    app::MessageCatalog english, german;
    english.fill("Eng");
    german.fill("Deu");
    for (int i = 0; i < static_cast<int>(Msg::Count); ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_FALSE(english.text(id).empty()) << app::MessageCatalog::name(id);
        if (id != Msg::MsgPreviewFailed) {
            EXPECT_FALSE(german.text(id).empty()) << app::MessageCatalog::name(id);
        }
    }
    EXPECT_EQ(german.text(Msg::MsgPreviewFailed), "");
    EXPECT_EQ(german.text(Msg::MsgIdExists), "Diese ID-Nr. ist schon vergeben.");
    EXPECT_EQ(english.text(Msg::MsgIdExists), "ID-Nr. exists already.");
}

TEST(MessageCatalog, UnassignedEntriesKeepTheirPreviousText) {
    app::MessageCatalog catalog;
    catalog.fill("Eng");
    catalog.fill("Deu");
    // German has no wording of its own for this one.
    EXPECT_EQ(catalog.text(Msg::MsgPreviewFailed),
              "cgpsmapper can't create the preview -file. Integration to 'Mapsource' was not possible.");
    // An unknown language assigns nothing at all.
    catalog.fill("Fra");
    EXPECT_EQ(catalog.text(Msg::MsgIdExists), "Diese ID-Nr. ist schon vergeben.");
    EXPECT_EQ(catalog.control("CommandButtonPV"), "Mapset zu Mapsource hinzufuegen");
}

TEST(MessageCatalog, MissingKeyQuestionJoinsAroundThePath) {
    app::MessageCatalog catalog;
    catalog.fill("Eng");
    const std::string question = catalog.text(Msg::MsgMissingKey) +
                                 "SOFTWARE\\Garmin\\MapSource\\Families\\Alps" + catalog.text(Msg::MsgCanRepair);
    EXPECT_EQ(question,
              "missing key SOFTWARE\\Garmin\\MapSource\\Families\\Alps\\1. VELDRA can repair this. Shell it do?");
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
    catalog.fill("Deu", {"/maps/tiles", "Alpsoooo", "/opt/veldra"});
    EXPECT_EQ(catalog.text(Msg::MsgImgExists2),
              "Datei Alpsoooo.img exists already. Type in a different name and try it again.");
    EXPECT_EQ(catalog.text(Msg::MsgManualPreviewInstructions).find("existing file"), std::string::npos);
}

TEST(MessageCatalog, EntriesAreFoundByName) {
    EXPECT_EQ(app::MessageCatalog::byName("MsgGmtMissing"), Msg::MsgGmtMissing);
    EXPECT_EQ(app::MessageCatalog::name(Msg::MsgImgExists2), "MsgImgExists2");
    EXPECT_FALSE(app::MessageCatalog::byName("MsgNothing"));
}

class LanguageSwitchTest : public ::testing::Test {
protected:
    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
    app::Settings settings{routines};
};

TEST_F(LanguageSwitchTest, MissingLanguageGivesGerman) {
    catalog.fill(settings.language());
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "Kein File ausgewaehlt.");
    EXPECT_EQ(catalog.control("Sprachwahl"), "English");
}

TEST_F(LanguageSwitchTest, GermanToEnglishAndBackRestoresTheDesignCaptions) {
    settings.setLanguage("Deu");
    catalog.fill(settings.language());
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "Mapset hinzufuegen");

    app::switchLanguage(settings, catalog, {});
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "add mapset");
    EXPECT_EQ(catalog.control("Sprachwahl"), "Deutsch");
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "No File choosed.");

    app::switchLanguage(settings, catalog, {});
    EXPECT_EQ(settings.language(), "Deu");
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "Mapset hinzufuegen");
    EXPECT_EQ(catalog.control("Label4"), "ausgewaehlte Files :");
    // The German branch overrides what the restore action set for these two.
    EXPECT_EQ(catalog.control("CommandButtonPV"), "Mapset zu Mapsource hinzufuegen");
    EXPECT_EQ(catalog.control("Command1"), " Auswahl ist fertig");
    EXPECT_EQ(catalog.control("Sprachwahl"), "English");
}

TEST_F(LanguageSwitchTest, UnsetLanguageSwitchesToEnglish) {
    catalog.fill(settings.language());
    app::switchLanguage(settings, catalog, {});
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "No File choosed.");
}

}  // namespace
}  // namespace veldra
