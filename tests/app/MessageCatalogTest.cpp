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

// Every entry has an English text; German leaves only the preview failure to
// the text the catalog held before, and an unknown language assigns nothing.
TEST(MessageCatalog, LanguageValueChoosesTheBranchAndUnassignedEntriesKeepTheirPreviousText) {
    for (const std::string& german : {std::string(), std::string(256, ' '), std::string("Deu")})
        EXPECT_EQ(app::languageBranch(german), app::LanguageBranch::German);
    EXPECT_EQ(app::languageBranch("Eng"), app::LanguageBranch::English);
    EXPECT_EQ(app::languageBranch("eng"), app::LanguageBranch::None);

    app::MessageCatalog english, german;
    english.fill("Eng");
    german.fill("Deu");
    for (int i = 0; i < static_cast<int>(Msg::Count); ++i) {
        const auto id = static_cast<Msg>(i);
        EXPECT_FALSE(english.text(id).empty()) << app::MessageCatalog::name(id);
        EXPECT_EQ(german.text(id).empty(), id == Msg::MsgPreviewFailed) << app::MessageCatalog::name(id);
    }

    const std::string preview = english.text(Msg::MsgPreviewFailed);
    english.fill("Deu");
    EXPECT_EQ(english.text(Msg::MsgPreviewFailed), preview);
    english.fill("Fra");
    EXPECT_EQ(english.text(Msg::MsgIdExists), german.text(Msg::MsgIdExists));
    EXPECT_EQ(english.control("CommandButtonPV"), german.control("CommandButtonPV"));
}

class LanguageSwitchTest : public ::testing::Test {
protected:
    platform::MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    app::MessageCatalog catalog;
    app::RegistryRoutines routines{registry, dialogs, catalog};
    app::Settings settings{routines};
};

TEST_F(LanguageSwitchTest, AnUnsetLanguageIsGermanAndSwitchingBackRestoresTheDesignCaptions) {
    catalog.fill(settings.language());
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "Kein File ausgewaehlt.");
    EXPECT_EQ(catalog.control("CommandHinzufuegen"), "Mapset hinzufuegen");
    EXPECT_EQ(catalog.control("Sprachwahl"), "English");

    ASSERT_TRUE(app::switchLanguage(settings, catalog, {}));
    EXPECT_EQ(settings.language(), "Eng");
    EXPECT_EQ(catalog.text(Msg::MsgNoFileChosen), "No File choosed.");
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
