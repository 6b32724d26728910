// Runs the built `veldra` program as a user would.

#include <filesystem>
#include <string>

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

}  // namespace
}  // namespace veldra
