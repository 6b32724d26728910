// Runs the built `veldra` program as a user would.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

namespace veldra {
namespace {

struct Run {
    int exitCode;
    std::string out;
};

Run veldra(const std::string& arguments, const std::string& environment = "") {
    const std::string command =
        environment + " " + std::string(VELDRA_PROGRAM_DIR) + "/veldra " + arguments + " 2>&1 </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    Run run{-1, {}};
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    while (auto n = fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Cli, HelpVersionAndUsageErrors) {
    auto help = veldra("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("settings"), std::string::npos);
    EXPECT_EQ(veldra("--version").exitCode, 0);
    EXPECT_EQ(veldra("").exitCode, 2);
    EXPECT_EQ(veldra("frobnicate").exitCode, 2);
    EXPECT_EQ(veldra("settings --language Fra").exitCode, 2);
    EXPECT_EQ(veldra("--yes --no settings").exitCode, 2);
}

TEST(Cli, SettingsAreStoredInTheDefaultPrefix) {
    const auto home = std::filesystem::temp_directory_path() / ("veldra-cli-" + std::to_string(getpid()));
    std::filesystem::remove_all(home);
    const std::string env = "env -u WINEPREFIX XDG_DATA_HOME=" + home.string();

    auto stored = veldra("settings --os64 no --language Eng", env);
    EXPECT_EQ(stored.exitCode, 0) << stored.out;
    EXPECT_TRUE(std::filesystem::exists(home / "veldra" / "prefix" / "user.reg"));
    // Global options after the command work too.
    auto shown = veldra("settings --json", env);
    EXPECT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_NE(shown.out.find("\"wow64\": \"falsch\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"hostRegistryRoot\": \"SOFTWARE\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"language\": \"Eng\""), std::string::npos) << shown.out;
    std::filesystem::remove_all(home);
}

TEST(Cli, APrefixThatIsNotOneIsRefused) {
    auto run = veldra("--prefix /nonexistent/prefix settings");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("/nonexistent/prefix"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace veldra
