// Runs the built `veldra` program as a user would.

#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

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
