// Runs the built `veldra` program as a user would.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace veldra {
namespace {

struct Run {
    int exitCode;
    std::string out;
};

Run veldra(const std::string& arguments) {
    const std::string command = std::string(VELDRA_PROGRAM_DIR) + "/veldra " + arguments + " 2>&1 </dev/null";
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

}  // namespace
}  // namespace veldra
