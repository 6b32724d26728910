// Links we write, read back by Wine's own scripting host.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/ShellLinks.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::outputLines;
using testing::runCommand;
using testing::shellQuote;
using testing::WineTestPrefix;

// WScript.Shell's idea of the link's target.
std::string targetByWine(const fs::path& prefix, const std::string& hostLink) {
    const std::string command = "wine cscript //nologo 'C:\\veldra-target.vbs' " + shellQuote(hostLink);
    const auto lines = outputLines(runCommand(testing::wineCommand(prefix, command)).output);
    return lines.empty() ? "<nothing>" : lines.front();
}

TEST(ShellLinkWriterWineTest, WineResolvesEveryLinkWeWrite) {
    VELDRA_REQUIRE_WINE();
    const fs::path prefix = WineTestPrefix::path();
    ASSERT_FALSE(prefix.empty()) << "wineboot made no prefix";
    const fs::path driveC = prefix / "drive_c";
    {
        std::ofstream script(driveC / "veldra-target.vbs", std::ios::binary);
        script << "Set shell = CreateObject(\"WScript.Shell\")\r\n"
                  "WScript.Echo shell.CreateShortcut(WScript.Arguments(0)).TargetPath\r\n";
    }
    fs::create_directories(driveC / "ProgramData" / "GARMIN" / "Maps" / "Topo Nord.gmap");
    fs::create_directories(driveC / "Karten" / "K\xC3\xA4se.gmap");
    std::ofstream(driveC / "Karten" / "list.txt") << "x";
    testing::TempDir outside;
    fs::create_directories(outside.path() / "Alpen.gmap");

    const std::vector<std::pair<std::string, bool>> targets = {
        {"C:\\ProgramData\\GARMIN\\Maps\\Topo Nord.gmap", true},
        {"C:\\Karten\\K\xC3\xA4se.gmap", true},
        {"C:\\Karten\\list.txt", false},
        {"Z:" + outside.path().string() + "\\Alpen.gmap", true},
    };
    int number = 0;
    for (auto [target, folder] : targets) {
        std::replace(target.begin(), target.end(), '/', '\\');
        const std::string name = "Link_" + std::to_string(++number) + ".lnk";
        ASSERT_TRUE(writeShellLinkFile(driveC / "ProgramData" / "GARMIN" / "Maps" / name, target, folder));
        EXPECT_EQ(targetByWine(prefix, "C:\\ProgramData\\GARMIN\\Maps\\" + name), target);
    }
}

}  // namespace
}  // namespace veldra::platform
