// Links we write, read back by Wine's own scripting host.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/Cp1252.h"
#include "platform/ShellLinks.h"
#include "support/PrefixTestSupport.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::runCommand;
using testing::shellQuote;
using testing::WineTestPrefix;

// The target as Wine's shell reads it, written by the script as UTF-16 so that
// no console code page comes between. (WScript.Shell's TargetPath, the other
// way to ask, is not implemented in Wine 8.)
std::string targetByWine(const fs::path& prefix, const std::string& hostFolder, const std::string& linkName) {
    const fs::path answer = prefix / "drive_c" / "veldra-target.txt";
    fs::remove(answer);
    runCommand(testing::wineCommand(prefix, "wine cscript //nologo 'C:\\veldra-target.vbs' " + shellQuote(hostFolder) +
                                                " " + shellQuote(linkName)));
    std::ifstream in(answer, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 2) return "<nothing>";
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)  // after the byte order mark
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    return utf16ToUtf8(text.substr(0, text.find(u'\r')));
}

TEST(ShellLinkWriterWineTest, WineResolvesEveryLinkWeWrite) {
    VELDRA_REQUIRE_WINE();
    const fs::path prefix = WineTestPrefix::path();
    ASSERT_FALSE(prefix.empty()) << "wineboot made no prefix";
    const fs::path driveC = prefix / "drive_c";
    {
        std::ofstream script(driveC / "veldra-target.vbs", std::ios::binary);
        script << "Set shell = CreateObject(\"Shell.Application\")\r\n"
                  "target = shell.NameSpace(WScript.Arguments(0)).ParseName(WScript.Arguments(1)).GetLink.Path\r\n"
                  "Set files = CreateObject(\"Scripting.FileSystemObject\")\r\n"
                  "files.CreateTextFile(\"C:\\veldra-target.txt\", True, True).WriteLine target\r\n";
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
        EXPECT_EQ(targetByWine(prefix, "C:\\ProgramData\\GARMIN\\Maps", name), target);
    }
}

}  // namespace
}  // namespace veldra::platform
