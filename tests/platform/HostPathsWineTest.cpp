// Host paths checked against Wine's own mapping (winepath) in a real prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "platform/WineHostPaths.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::outputLines;
using testing::runCommand;
using testing::shellQuote;
using testing::TempDir;
using testing::WineTestPrefix;

std::vector<std::string> winepath(const std::string& option, const std::vector<std::string>& arguments) {
    std::string command = "winepath " + option;
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    return outputLines(runCommand(testing::wineCommand(WineTestPrefix::path(), command)).output);
}

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class HostPathsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = WineTestPrefix::path();
        fs::create_directories(prefix / "drive_c" / "VeldraCase" / "Mixed Dir" / "Käse");
        fs::create_directories(outside.path() / "Karten");
    }
    fs::path prefix;
    TempDir outside;
};

// Both ways in one test: Wine takes long to make its prefix.
TEST_F(HostPathsWineTest, BothDirectionsAgreeWithWinepath) {
    const WineHostPaths paths(prefix);
    const std::vector<fs::path> natives = {
        prefix / "drive_c",
        prefix / "drive_c" / "VeldraCase" / "Mixed Dir" / "Käse",
        prefix / "drive_c" / "VeldraCase" / "not yet" / "deeper",
        prefix / "dosdevices" / "c:" / "VeldraCase",
        prefix / "drive_c" / "users" / ".." / "ProgramData",
        outside.path() / "Karten",
        outside.path() / "Karten" / "Neue Karte" / "x.img",
        "/",
    };
    std::vector<std::string> arguments;
    for (const auto& native : natives) arguments.push_back(native.string());
    const auto wineHosts = winepath("-w", arguments);
    ASSERT_EQ(wineHosts.size(), natives.size());
    for (std::size_t i = 0; i < natives.size(); ++i) EXPECT_EQ(paths.toHost(natives[i]), wineHosts[i]) << natives[i];
    EXPECT_EQ(wineHosts[5].substr(0, 3), "Z:\\");  // outside the prefix

    std::string outsideHost = "Z:";
    for (const auto& part : outside.path().relative_path()) outsideHost += "\\" + upperAscii(part.string());
    const std::vector<std::string> hosts = {
        "C:\\",
        "C:\\programdata",
        "C:\\veldracase\\MIXED DIR\\KÄSE",
        "c:/VELDRACASE/new folder/x.img",
        "C:\\VeldraCase.\\Mixed Dir \\..\\Mixed Dir\\käse",
        outsideHost,
        outsideHost + "\\KARTEN\\Neu",
        "Z:\\",
    };
    const auto wineNatives = winepath("-u", hosts);
    ASSERT_EQ(wineNatives.size(), hosts.size());
    for (std::size_t i = 0; i < hosts.size(); ++i) EXPECT_EQ(paths.toNative(hosts[i]).string(), wineNatives[i]) << hosts[i];
}

}  // namespace
}  // namespace veldra::platform
