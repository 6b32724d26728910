// Runs the built `veldra` program as a user would.

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

using testing::CommandResult;

CommandResult veldra(const std::string& arguments, const std::string& environment = "") {
    return testing::runCommand(environment + " " + std::string(VELDRA_PROGRAM_DIR) + "/veldra " + arguments +
                               " 2>&1 </dev/null");
}

TEST(Cli, HelpVersionAndUsageErrors) {
    auto help = veldra("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("settings"), std::string::npos);
    EXPECT_EQ(veldra("--version").status, 0);
    EXPECT_EQ(veldra("").status, 2);
    EXPECT_EQ(veldra("frobnicate").status, 2);
    EXPECT_EQ(veldra("settings --language Fra").status, 2);
    EXPECT_EQ(veldra("--yes --no settings").status, 2);
}

TEST(Cli, SettingsAreStoredInTheDefaultPrefix) {
    testing::TempDir temp;
    const auto home = temp.path();
    const std::string env = "env -u WINEPREFIX XDG_DATA_HOME=" + home.string();

    auto stored = veldra("settings --os64 no --language Eng", env);
    EXPECT_EQ(stored.status, 0) << stored.output;
    EXPECT_TRUE(std::filesystem::exists(home / "veldra" / "prefix" / "user.reg"));
    // Global options after the command work too.
    auto shown = veldra("settings --json", env);
    EXPECT_EQ(shown.status, 0) << shown.output;
    EXPECT_NE(shown.output.find("\"wow64\": \"falsch\""), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("\"hostRegistryRoot\": \"SOFTWARE\""), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("\"language\": \"Eng\""), std::string::npos) << shown.output;
}

TEST(Cli, APrefixThatIsNotOneIsRefused) {
    auto run = veldra("--prefix /nonexistent/prefix settings");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("/nonexistent/prefix"), std::string::npos) << run.output;
}

// Everything a run prints speaks one language: the locale's on a first start,
// then the stored one or --lang in any letter case; help and usage errors too.
// Results go to standard output, messages and errors to standard error.
TEST(Cli, EveryTextOfARunIsInTheChosenLanguageAndOnlyResultsGoToStandardOutput) {
    testing::TempDir temp;
    const std::string env = "env -u WINEPREFIX -u LC_ALL -u LC_MESSAGES XDG_DATA_HOME=" + temp.path().string();
    const auto first = veldra("settings", env + " LANG=de_AT.UTF-8");
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("\nSprache: \n"), std::string::npos) << first.output;
    EXPECT_NE(veldra("settings", env + " LANG=C.UTF-8").output.find("\nLanguage: \n"), std::string::npos);

    ASSERT_EQ(veldra("settings --os64 yes --language deu", env + " LANG=C.UTF-8").status, 0);
    const auto german = veldra("settings", env + " LANG=C.UTF-8");
    EXPECT_NE(german.output.find("Wow64: ja (Betriebssystem arbeitet mit 64 bit)\n"), std::string::npos)
        << german.output;
    const auto english = veldra("--lang ENG settings", env);
    EXPECT_NE(english.output.find("Wow64: yes (operatingsystem is 64 bit)\n"), std::string::npos) << english.output;
    EXPECT_NE(testing::runCommand("grep -c '\"Wow64\"=\"wahr\"' " + (temp.path() / "veldra/prefix/user.reg").string())
                  .output,
              "0\n");

    for (const auto& [options, help, usage, missing] :
         {std::tuple{"", "Die eingebundenen Kartensätze auflisten",
                     "Die Befehlszeile enthält, was kein Befehl annimmt: frobnicate\n`veldra --help` zeigt",
                     "Kein installierter Kartensatz hat diesen Namen oder diese FID"},
          std::tuple{"--lang eNg ", "List the installed mapsets",
                     "The command line holds what no command takes: frobnicate\n`veldra --help` lists",
                     "No installed mapset has this name or FID"}}) {
        EXPECT_NE(veldra(std::string(options) + "--help", env).output.find(help), std::string::npos) << options;
        const auto wrong = veldra(std::string(options) + "list frobnicate", env);
        EXPECT_EQ(wrong.status, 2);
        EXPECT_NE(wrong.output.find(usage), std::string::npos) << wrong.output;
        const auto absent = veldra(std::string(options) + "remove --no Nirgendwo", env);
        EXPECT_EQ(absent.status, 1);
        EXPECT_NE(absent.output.find(missing), std::string::npos) << absent.output;
        const auto results = testing::runCommand(env + " " + std::string(VELDRA_PROGRAM_DIR) + "/veldra " + options +
                                                 "remove --no Nirgendwo 2>/dev/null");
        EXPECT_EQ(results.output, "");
    }
    const auto noPrefix = veldra("--lang Deu --prefix /nonexistent/prefix list");
    EXPECT_EQ(noPrefix.status, 1);
    EXPECT_NE(noPrefix.output.find("kein Wine-Präfix (keine system.reg); führen Sie dort `wineboot -i` aus oder "
                                   "wählen Sie mit --prefix ein anderes: /nonexistent/prefix"),
              std::string::npos)
        << noPrefix.output;
}

// The help of the program and of every command: headings, kinds of values and
// every option's text in the chosen language, none of CLI11's English words.
TEST(Cli, HelpIsWhollyInTheChosenLanguage) {
    const std::string commands[] = {"",      "settings", "list",      "free-fid",      "remove",    "rename",
                                    "typ",   "fid",      "tiles",     "draw-priority", "integrate", "register",
                                    "cache", "latitude", "export",    "import",        "check",     "inspect"};
    for (const auto& command : commands) {
        const auto german = veldra("--lang Deu " + command + " --help");
        EXPECT_EQ(german.status, 0) << command;
        EXPECT_NE(german.output.find("\nAufruf: "), std::string::npos) << german.output;
        for (const char* english : {"Usage", "Options", "OPTIONS", "Positionals", "SUBCOMMAND", "REQUIRED", "Excludes",
                                    "value in", "The ", " the ", " of ", " for ", "TEXT", "INT", "NUMBER", "VALUE",
                                    "FILE", "DIR", "NEW-", "ARGUMENTS", "files...", "tiles...", "(1x)"})
            EXPECT_EQ(german.output.find(english), std::string::npos) << english << " in\n" << german.output;
        const auto english = veldra("--lang Eng " + command + " --help");
        EXPECT_NE(english.output.find("\nUsage: "), std::string::npos) << english.output;
        for (const char* word : {"Aufruf", "Optionen", "Argumente", "ARGUMENTE", "Befehle", "PFLICHT", "WERT", "ZAHL",
                                 "DATEI", "ORDNER", "NEU", "STUFE", "kacheln...", "dateien...", "nicht mit", " der ",
                                 " die "})
            EXPECT_EQ(english.output.find(word), std::string::npos) << word << " in\n" << english.output;
    }
    const auto tiles = veldra("--lang Deu tiles --help").output;
    EXPECT_NE(tiles.find("Argumente:\n  MAPSET WERT PFLICHT"), std::string::npos) << tiles;
    // What an option does not go with follows its description, in the text column.
    EXPECT_NE(veldra("--lang Deu --help").output.find("\n  --no                        Jede Frage mit nein "
                                                      "beantworten (nicht mit --yes)\n"),
              std::string::npos);
    const auto latitude = veldra("--lang Deu latitude --help").output;
    EXPECT_NE(latitude.find(" latitude [OPTIONEN] ARGUMENTE...\n"), std::string::npos) << latitude;
    // A usage error names an argument as the help does.
    EXPECT_NE(veldra("--lang Deu draw-priority Alpha").output.find("In der Befehlszeile fehlt: STUFE\n"),
              std::string::npos);
    EXPECT_NE(tiles.find("Der Name des Kartensatzes, wie `veldra list` ihn zeigt, oder seine FID"), std::string::npos);
    EXPECT_NE(veldra("--lang Deu --help").output.find("\nBefehle:\n  settings"), std::string::npos);
}

// `inspect` too: its labels on standard output, what is wrong with a file on
// standard error, the reader's own words only with --verbose.
TEST(Cli, InspectSpeaksTheChosenLanguage) {
    testing::TempDir temp;
    const auto junk = (temp.path() / "junk.tdb").string();
    const auto none = (temp.path() / "none.typ").string();
    testing::writeText(junk, "hi");
    const std::filesystem::path data(VELDRA_BUILT_DATA_DIR);
    const std::string files =
        " " + (data / "alpha" / "11000000.tdb").string() + " " + (data / "alpha" / "11000001.img").string();
    const auto german = veldra("--lang Deu inspect" + files + " " + junk + " " + none);
    EXPECT_EQ(german.status, 1);
    const std::vector<std::string> germanLines = {"\n  Art: tdb\n",
                                                  "\n  Prüfsumme: gültig\n",
                                                  "\n  Kacheln: 3\n",
                                                  "\n  DrawPriority: 25\n",
                                                  "Das ist kein TDB-File: " + junk + "\n",
                                                  "Das ist keine Datei: " + none + "\n"};
    for (const auto& shown : germanLines)
        EXPECT_NE(german.output.find(shown), std::string::npos) << shown << " in\n" << german.output;
    for (const char* english : {"kind", "unknown", "checksum", "valid", "tiles", "priority", " is "})
        EXPECT_EQ(german.output.find(english), std::string::npos) << english << " in\n" << german.output;
    EXPECT_NE(veldra("--lang Deu --verbose inspect " + junk).output.find(junk + " is not a TDB file"),
              std::string::npos);
    const auto english = veldra("--lang Eng inspect" + files + " " + junk);
    const std::vector<std::string> englishLines = {"\n  checksum: valid\n", "\n  draw priority: 25\n",
                                                   "This is not a TDB file: " + junk + "\n"};
    for (const auto& shown : englishLines)
        EXPECT_NE(english.output.find(shown), std::string::npos) << shown << " in\n" << english.output;
}

TEST(Cli, AnUnansweredOrDeclinedQuestionIsReportedInTheChosenLanguage) {
    testing::TempDir temp;
    const std::string env = "env -u WINEPREFIX XDG_DATA_HOME=" + temp.path().string();
    const auto device = temp.path() / "device";
    std::filesystem::create_directories(device / "SplittMaps");
    std::filesystem::copy_file(std::filesystem::path(VELDRA_BUILT_DATA_DIR) / "gmapsupp" / "gmapsupp.img",
                               device / "gmapsupp.img");
    ASSERT_EQ(veldra("settings --os64 yes", env).status, 0);
    const std::string split = " integrate --keep-fid --registry " + (device / "gmapsupp.img").string();

    for (const auto& [language, hint, nothing] :
         {std::tuple{"Deu", "(antworten Sie mit --yes oder --no)", "Es wurde nichts geändert."},
          std::tuple{"Eng", "(answer with --yes or --no)", "Nothing was changed."}}) {
        const auto unanswered = veldra(std::string("--lang ") + language + split, env);
        EXPECT_EQ(unanswered.status, 1);
        EXPECT_NE(unanswered.output.find("'SplittMaps'"), std::string::npos) << unanswered.output;
        EXPECT_NE(unanswered.output.find(hint), std::string::npos) << unanswered.output;
        const auto declined = veldra(std::string("--no --lang ") + language + split, env);
        EXPECT_EQ(declined.status, 1);
        EXPECT_NE(declined.output.find(nothing), std::string::npos) << declined.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(device / "SplittMaps"));
}

}  // namespace
}  // namespace veldra
