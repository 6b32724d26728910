// The prefix backends checked against Wine itself in a prefix that Wine made:
// Wine reads the registry VELDRA writes, VELDRA reads what Wine writes, nothing
// is written while a wineserver runs; host paths and special folders agree
// with winepath and Wine's environment, and Wine's shell resolves the links
// we write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <thread>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"
#include "platform/Cp1252.h"
#include "platform/CurrentUser.h"
#include "platform/ShellLinks.h"
#include "platform/WineHostPaths.h"
#include "platform/WinePrefixRegistry.h"
#include "platform/WineServerProbe.h"
#include "platform/WineShell.h"
#include "platform/WineShellFolders.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::outputLines;
using testing::readText;
using testing::shellQuote;
using testing::TempDir;
using testing::WineTestPrefix;

constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::string Families = "Software\\Wow6432Node\\Garmin\\MapSource\\Families";
const std::string Austria = "C:\\Karten\\Österreich Topo ß\\";

// Wine renews a few machine values in every session, whatever is in the
// files: the display driver keys of a session without a display, and driver
// dates. They are left out when two exports are compared.
std::string withoutSessionState(const std::string& exported) {
    std::string kept;
    bool skipping = false;
    for (const auto& line : outputLines(exported)) {
        if (line.starts_with("[")) skipping = line.find("\\Control\\Video\\{") != std::string::npos;
        if (!skipping && !line.starts_with("\"DriverDateData\"=")) kept += line + "\n";
    }
    return kept;
}

// The first line where two exports part, or nothing: the exports run to
// megabytes, and a whole-text comparison would print (and diff) all of them.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    const auto left = outputLines(expected);
    const auto right = outputLines(actual);
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const std::string a = i < left.size() ? left[i] : "(end)";
        const std::string b = i < right.size() ? right[i] : "(end)";
        if (a != b) return "line " + std::to_string(i + 1) + ": " + a + " | " + b;
    }
    return {};
}

// A file Wine wrote in UTF-16 (after its byte order mark), as UTF-8.
std::string utf16FileText(const fs::path& file) {
    const std::string bytes = readText(file);
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return utf16ToUtf8(units);
}

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class PrefixBackendsWine : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = WineTestPrefix::path();
        waitForServer();
    }

    testing::CommandResult wine(const std::string& command) const { return testing::runInWine(prefix, command); }
    // Wine's programs leave the server running a few seconds; it saves the registry when it ends.
    void waitForServer() const { wine("wineserver -w"); }

    // `reg export` of a key as UTF-8 text (Wine writes UTF-16).
    std::string exportKey(const std::string& key) const {
        const fs::path file = prefix / "drive_c" / "veldra-export.reg";
        fs::remove(file);
        EXPECT_EQ(wine("wine reg export " + shellQuote(key) + " 'C:\\veldra-export.reg' /y >/dev/null").status, 0);
        waitForServer();
        return utf16FileText(file);
    }
    std::vector<std::string> winepath(const std::string& option, const std::vector<std::string>& arguments) const {
        std::string command = "winepath " + option;
        for (const auto& argument : arguments) command += " " + shellQuote(argument);
        return outputLines(wine(command).output);
    }

    fs::path prefix;

    void savingWhatWineWroteChangesNothingWineSees();
    void hostLayoutWrittenByVeldraIsWhatWineReads();
    void keysAddedByWineRegAreReadByVeldra();
    void writesAreRefusedWhileAWineserverRuns();
    void hostPathsAgreeWithWinepath();
    void specialFoldersAgreeWithWinesEnvironment();
    void wineResolvesEveryLinkWeWrite();
};

void PrefixBackendsWine::savingWhatWineWroteChangesNothingWineSees() {
    const std::string before = exportKey("HKLM");
    ASSERT_GT(before.size(), 100000u);
    const std::string original = readText(prefix / "system.reg");

    // Written again, Wine's file differs only where Wine shortened a \x escape.
    const WineRegistryLoad load = WineRegistryFile::parse(original, 0);
    ASSERT_TRUE(load.file) << "refused at line " << load.refusedLine;
    EXPECT_TRUE(load.warnings.empty());
    const auto wineLines = outputLines(original);
    const auto ourLines = outputLines(load.file->serialize());
    ASSERT_EQ(ourLines.size(), wineLines.size());
    for (std::size_t i = 0; i < wineLines.size(); ++i) {
        if (ourLines[i] != wineLines[i]) {
            EXPECT_NE(wineLines[i].find("\\x"), std::string::npos) << wineLines[i];
        }
    }

    {
        WinePrefixRegistry registry(prefix);
        ASSERT_EQ(registry.setValue(HKLM, "Software\\Wine", "VeldraProbe", RegistryValue::fromString("x")),
                  regerror::Success);
        ASSERT_EQ(registry.deleteValue(HKLM, "Software\\Wine", "VeldraProbe"), regerror::Success);
    }
    EXPECT_EQ(readText(prefix / "system.reg.veldra-bak"), original);
    const std::string after = exportKey("HKLM");
    EXPECT_EQ(firstDifference(withoutSessionState(before), withoutSessionState(after)), "");
}

void PrefixBackendsWine::hostLayoutWrittenByVeldraIsWhatWineReads() {
    const std::string family = Families + "\\X";
    {
        WinePrefixRegistry registry(prefix);
        ASSERT_EQ(registry.createKey(HKLM, family + "\\1"), regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, family, "ID", RegistryValue::fromBytes({0xd2, 0x04})), regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, family, "TYP", RegistryValue::fromString("C:\\Garmin\\X.TYP")),
                  regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, family + "\\1", "TDB", RegistryValue::fromString(Austria + "X.TDB")),
                  regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, family + "\\1", "BMAP", RegistryValue::fromString(Austria + "X.img")),
                  regerror::Success);
        ASSERT_EQ(registry.setValue(HKLM, family + "\\1", "LOC", RegistryValue::fromString(Austria)),
                  regerror::Success);
    }

    // The export (unlike `reg query`, which prints in the OEM code page) keeps every character.
    const std::string escaped = "C:\\\\Karten\\\\Österreich Topo ß\\\\";
    EXPECT_EQ(exportKey("HKLM\\" + family),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\" + family + "]\r\n"
              "\"ID\"=hex:d2,04\r\n"
              "\"TYP\"=\"C:\\\\Garmin\\\\X.TYP\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\" + family + "\\1]\r\n"
              "\"BMAP\"=\"" + escaped + "X.img\"\r\n"
              "\"LOC\"=\"" + escaped + "\"\r\n"
              "\"TDB\"=\"" + escaped + "X.TDB\"\r\n\r\n");

    // And back: what Wine saved after its run still reads the same.
    WinePrefixRegistry reread(prefix);
    EXPECT_EQ(reread.queryValue(HKLM, family + "\\1", "TDB"), RegistryValue::fromString(Austria + "X.TDB"));
    EXPECT_EQ(reread.queryValue(HKLM, family, "ID"), RegistryValue::fromBytes({0xd2, 0x04}));
}

void PrefixBackendsWine::keysAddedByWineRegAreReadByVeldra() {
    const std::string family = "HKLM\\" + Families + "\\Y";
    const auto add = [&](const std::string& key, const std::string& name, const std::string& type,
                         const std::string& data) {
        const std::string command = "wine reg add " + shellQuote(key) + " /v " + shellQuote(name) + " /t " + type +
                                    " /d " + shellQuote(data) + " /f";
        EXPECT_EQ(wine(command + " >/dev/null").status, 0) << command;
    };
    add(family + "\\1", "TDB", "REG_SZ", Austria + "Y.TDB");
    add(family, "ID", "REG_BINARY", "3930");
    add(family, "Count", "REG_DWORD", "4660");
    add(family, "Path", "REG_EXPAND_SZ", "%ProgramData%\\Garmin");
    add(family, "List", "REG_MULTI_SZ", "a\\0b");
    add("HKCU\\Software\\VELDRA", "Language", "REG_SZ", "Eng");
    // wineserver matches names beyond ASCII without regard to case, and so does VELDRA.
    add("HKCU\\Software\\VELDRA\\Ɓalance Ärger", "Ωmega", "REG_SZ", "x");
    EXPECT_EQ(wine("wine reg query " + shellQuote("HKCU\\Software\\VELDRA\\ɓALANCE äRGER") + " /v ωMEGA >/dev/null").status, 0);
    waitForServer();

    WinePrefixRegistry registry(prefix);
    const std::string key = Families + "\\Y";
    EXPECT_EQ(registry.queryValue(HKLM, key + "\\1", "TDB"), RegistryValue::fromString(Austria + "Y.TDB"));
    EXPECT_EQ(registry.queryValue(HKLM, key, "ID"), RegistryValue::fromBytes({0x39, 0x30}));
    EXPECT_EQ(registry.queryValue(HKLM, key, "Count"), RegistryValue::fromDword(4660));
    EXPECT_EQ(registry.queryValue(HKLM, key, "Path"),
              RegistryValue::fromString("%ProgramData%\\Garmin", RegistryType::ExpandString));
    EXPECT_EQ(registry.queryValue(HKLM, key, "List"),
              RegistryValue::fromString(std::string("a\0b\0", 4), RegistryType::MultiString));
    EXPECT_EQ(registry.queryValue(HKCU, "Software\\VELDRA", "Language"), RegistryValue::fromString("Eng"));
    EXPECT_EQ(registry.queryValue(HKCU, "Software\\VELDRA\\ɓALANCE äRGER", "ωMEGA"), RegistryValue::fromString("x"));
    const auto families = registry.subkeyNames(HKLM, Families);
    EXPECT_NE(std::find(families.begin(), families.end(), "Y"), families.end());
}

void PrefixBackendsWine::writesAreRefusedWhileAWineserverRuns() {
    WinePrefixRegistry registry(prefix);
    ASSERT_EQ(registry.createKey(HKLM, Families + "\\Z"), regerror::Success);
    // An edit begun before the server started is not committed while it runs.
    ASSERT_TRUE(registry.beginEdit());
    ASSERT_EQ(registry.createKey(HKLM, Families + "\\InEdit"), regerror::Success);

    ASSERT_EQ(wine("wineserver -p >/dev/null").status, 0);
    std::optional<RunningWineServer> server;
    for (int tries = 0; tries < 100 && !server; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        server = findRunningWineServer(prefix);
    }
    ASSERT_TRUE(server) << "wineserver -p did not start";
    const std::string system = readText(prefix / "system.reg");
    const std::string user = readText(prefix / "user.reg");

    const auto blocker = registry.writeBlocker();
    ASSERT_TRUE(blocker);
    EXPECT_EQ(*blocker, fail(Msg::MsgWineProgramsRunning,
                             prefix.string() + " (wineserver " + std::to_string(server->pid) + ")"));
    const Status committed = registry.commitEdit();
    ASSERT_FALSE(committed);
    EXPECT_EQ(committed.failure(), *blocker);
    EXPECT_FALSE(registry.keyExists(HKLM, Families + "\\InEdit"));
    const Status begun = registry.beginEdit();
    ASSERT_FALSE(begun);
    EXPECT_EQ(begun.failure(), *blocker);
    EXPECT_EQ(registry.createKey(HKLM, Families + "\\Blocked"), regerror::AccessDenied);
    EXPECT_EQ(registry.setValue(HKLM, Families + "\\Z", "ID", RegistryValue::fromBytes({1, 0})), regerror::AccessDenied);
    EXPECT_EQ(registry.deleteKey(HKLM, Families + "\\Z"), regerror::AccessDenied);
    EXPECT_EQ(registry.createKey(HKCU, "Software\\VELDRA\\Blocked"), regerror::AccessDenied);
    EXPECT_EQ(readText(prefix / "system.reg"), system);
    EXPECT_EQ(readText(prefix / "user.reg"), user);

    wine("wineserver -k");
    waitForServer();
    EXPECT_EQ(registry.writeBlocker(), std::nullopt);
    EXPECT_EQ(registry.deleteKey(HKLM, Families + "\\Z"), regerror::Success);
}

void PrefixBackendsWine::hostPathsAgreeWithWinepath() {
    fs::create_directories(prefix / "drive_c" / "VeldraCase" / "Mixed Dir" / "Käse");
    const TempDir outside;
    fs::create_directories(outside.path() / "Karten");
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

// Wine's own answer: the folders its programs see as %APPDATA%, %LOCALAPPDATA% and %ProgramData%.
void PrefixBackendsWine::specialFoldersAgreeWithWinesEnvironment() {
    const auto lines = outputLines(wine("wine cmd /c 'echo %APPDATA%&echo %LOCALAPPDATA%&echo %ProgramData%'").output);
    ASSERT_EQ(lines.size(), 3u);
    WinePrefixRegistry registry(prefix);
    WineHostPaths paths(prefix);
    WineShell shell(registry, paths, currentUserName());
    const int numbers[] = {csidl::AppData, csidl::LocalAppData, csidl::CommonAppData};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shellFolderHostPath(registry, numbers[i], currentUserName()), lines[i]);
        EXPECT_EQ(shell.specialFolder(numbers[i]), paths.toNative(lines[i]));
        EXPECT_TRUE(fs::is_directory(shell.specialFolder(numbers[i]))) << lines[i];
    }
}

// The target as Wine's shell reads it, written by the script as UTF-16 so that
// no console code page comes between. (WScript.Shell's TargetPath, the other
// way to ask, is not implemented in Wine 8.)
void PrefixBackendsWine::wineResolvesEveryLinkWeWrite() {
    const fs::path driveC = prefix / "drive_c";
    std::ofstream(driveC / "veldra-target.vbs", std::ios::binary)
        << "Set shell = CreateObject(\"Shell.Application\")\r\n"
           "target = shell.NameSpace(WScript.Arguments(0)).ParseName(WScript.Arguments(1)).GetLink.Path\r\n"
           "Set files = CreateObject(\"Scripting.FileSystemObject\")\r\n"
           "files.CreateTextFile(\"C:\\veldra-target.txt\", True, True).WriteLine target\r\n";
    fs::create_directories(driveC / "ProgramData" / "GARMIN" / "Maps" / "Topo Nord.gmap");
    fs::create_directories(driveC / "Karten" / "K\xC3\xA4se.gmap");
    std::ofstream(driveC / "Karten" / "list.txt") << "x";
    const TempDir outside;
    fs::create_directories(outside.path() / "Alpen.gmap");
    std::string outsideHost = "Z:" + outside.path().string() + "\\Alpen.gmap";
    std::replace(outsideHost.begin(), outsideHost.end(), '/', '\\');

    const std::vector<std::pair<std::string, bool>> targets = {
        {"C:\\ProgramData\\GARMIN\\Maps\\Topo Nord.gmap", true},
        {"C:\\Karten\\K\xC3\xA4se.gmap", true},
        {"C:\\Karten\\list.txt", false},
        {outsideHost, true},
    };
    int number = 0;
    for (const auto& [target, folder] : targets) {
        const std::string name = "Link_" + std::to_string(++number) + ".lnk";
        ASSERT_TRUE(writeShellLinkFile(driveC / "ProgramData" / "GARMIN" / "Maps" / name, target, folder));
        fs::remove(driveC / "veldra-target.txt");
        wine("wine cscript //nologo 'C:\\veldra-target.vbs' 'C:\\ProgramData\\GARMIN\\Maps' " + shellQuote(name));
        const std::string text = utf16FileText(driveC / "veldra-target.txt");
        EXPECT_EQ(text.substr(0, text.find('\r')), target);
    }
}

// Saving a file as Wine wrote it comes first, while the prefix is as wineboot left it.
// One test: Wine takes long to make a prefix. Each check ends only itself when it fails.
TEST_F(PrefixBackendsWine, WineAgreesWithOurRegistryHostPathsAndLinks) {
    savingWhatWineWroteChangesNothingWineSees();
    waitForServer();
    hostLayoutWrittenByVeldraIsWhatWineReads();
    waitForServer();
    keysAddedByWineRegAreReadByVeldra();
    waitForServer();
    writesAreRefusedWhileAWineserverRuns();
    hostPathsAgreeWithWinepath();
    specialFoldersAgreeWithWinesEnvironment();
    wineResolvesEveryLinkWeWrite();
}

}  // namespace
}  // namespace veldra::platform
