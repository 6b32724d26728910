// The integration pipeline against scripted stand-ins of the outside tools,
// so that each outcome can be produced on purpose.

#include <fstream>

#include <gtest/gtest.h>

#include "app/ConsoleWindow.h"
#include "integration/IntegrationDriver.h"
#include "integration/RegistryInstallation.h"
#include "platform/PosixProcesses.h"
#include "support/FakeHost.h"
#include "support/FileBytes.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using app::MessageAnswer;
using integration::IntegrationOutcome;
using integration::InstallChoice;
using testing::readText;
constexpr auto HKLM = platform::RegistryRoot::LocalMachine;

// gmt.exe stand-in: records its arguments, writes BASE.tdb and BASE.mp in the
// -o folder and the batch files beside the tiles.
constexpr const char* FakeGmt = R"(#!/bin/sh
echo "$@" > "$(dirname "$0")/gmt-args.txt"
while [ $# -gt 0 ]; do
  case "$1" in -n) base="$2"; shift;; -o) out="$2"; shift;; esac; shift
done
echo "gmt.exe - VELDRA IMG tool 1.0 - https://veldra.example/tools"
echo "writing $base.tdb"
printf 'tdb' > "$out/$base.tdb"
printf '[IMG ID]\r\nLabel=GMapTool Preview\r\nType=0x0b00\r\n[END]\r\n' > "$out/$base.mp"
touch "$out/install.bat" "$out/uninstall.bat"
)";

// cgpsmapper.exe stand-in: the overview map beside the source.
constexpr const char* FakeCompiler = R"(#!/bin/sh
echo "Importing and preprocessing data"
cp "$1" "${1%.mp}.img"
)";

constexpr const char* SilentTool = "#!/bin/sh\nexit 0\n";

void writeScript(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
    fs::permissions(file, fs::perms::owner_all);
}

class IntegrationDriverTest : public ::testing::Test {
protected:
    IntegrationDriverTest() {
        writeScript(program() / "gmt.exe", FakeGmt);
        writeScript(program() / "Version97c" / "cgpsmapper.exe", FakeCompiler);
        std::ofstream(program() / "Version97c" / "sendg.dll") << "x";
        fs::create_directories(tiles);
        for (const char* name : {"12345678.img", "12345679.img"}) std::ofstream(tiles / name) << "tile";
    }

    fs::path program() const { return host.session.host.programFolder; }

    integration::IntegrationJob job(const std::string& name, const std::string& fid) const {
        return {{tiles / "12345678.img", tiles / "12345679.img"}, name, fid, tiles};
    }

    IntegrationOutcome run(const integration::IntegrationJob& j, InstallChoice choice = InstallChoice::Registry) {
        integration::IntegrationDriver driver(host.session, processes, console, [this] { ++catalogRebuilds; });
        return driver.run(j, choice).outcome;
    }

    // Runs the job for "Alps" with another PATH, where java is looked for.
    IntegrationOutcome runWithPath(const std::string& path) {
        const std::string kept = getenv("PATH");
        setenv("PATH", path.c_str(), 1);
        const auto outcome = run(job("Alps", "4711"));
        setenv("PATH", kept.c_str(), 1);
        return outcome;
    }

    std::string value(const std::string& key, const char* name) {
        auto v = host.registry.queryValue(HKLM, key, name);
        return v ? v->text() : "<missing>";
    }

    testing::FakeHost host;
    fs::path tiles = host.temp.path() / "maps" / "alps";
    platform::PosixProcesses processes;
    app::TextConsoleWindow console;
    int catalogRebuilds = 0;
};

TEST_F(IntegrationDriverTest, TilesBecomeARegisteredFamily) {
    // Only the common maps folder exists: the user's is left alone, without a note.
    fs::create_directories(host.shell.specialFolder(platform::csidl::CommonAppData) / "GARMIN" / "Maps");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::Registered);
    EXPECT_EQ(testing::namesIn(tiles), (std::vector<std::string>{"12345678.img", "12345679.img", "Alpsoooo.img",
                                                                  "Alpsoooo.mp", "Alpsoooo.tdb"}))
        << "the batch files are cleaned up";
    EXPECT_FALSE(fs::exists(program() / "list.txt"));

    // The registry values themselves are read back by Wine in the command's tests.
    const std::string family = "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alpsoooo4711";
    EXPECT_EQ(host.registry.queryValue(HKLM, family, "ID")->type, platform::RegistryType::Binary);
    EXPECT_EQ(value(family + "\\1", "TDB"), host.paths.toHost(tiles) + "\\Alpsoooo.TDB");
    EXPECT_EQ(value(family, "TYP"), "<missing>");

    EXPECT_EQ(catalogRebuilds, 1);
    ASSERT_FALSE(host.dialogs.messages.empty());
    EXPECT_EQ(host.dialogs.messages.back().text, "Integration is now ready for use. Start 'MapSource'again.");
    // Folder rights were taken over first (owner, then rights) for the folder that exists.
    ASSERT_EQ(host.security.calls.size(), 2u);
    EXPECT_NE(host.security.calls[0].find("csidl-35/GARMIN/Maps"), std::string::npos);
    EXPECT_NE(host.security.calls[1].find("csidl-35/GARMIN/Maps"), std::string::npos);
}

TEST_F(IntegrationDriverTest, GmtGetsTheExactCommandLineAndATypeFileNamedAfterTheBaseNameIsRegistered) {
    std::ofstream(tiles / "Topo_Deu.TYP") << "typ";
    EXPECT_EQ(run(job("Topo Deutschland", "300")), IntegrationOutcome::Registered);
    EXPECT_EQ(readText(program() / "gmt-args.txt"), "-S -f 300,1 -m Topo_Deutschland -n Topo_Deu -o " + tiles.string() +
                                                        " -c 1252 -@ " + (program() / "list.txt").string() + "\n");
    EXPECT_EQ(readText(tiles / "Topo_Deu.mp"), "[IMG ID]\r\n \r\nType=0x6300\r\n[END]\r\n");
    // The console keeps gmt.exe's output above the compiler's, without the banner.
    EXPECT_EQ(console.text(), "writing Topo_Deu.tdb\n\nImporting and preprocessing data\n");
    const std::string family = "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Topo_Deu300";
    EXPECT_EQ(value(family, "TYP"), host.paths.toHost(tiles) + "\\Topo_Deu.TYP");
    EXPECT_EQ(host.registry.queryValue(HKLM, family, "ID")->data, (std::vector<std::uint8_t>{0x2C, 0x01}));
}

TEST_F(IntegrationDriverTest, MissingToolsEndBeforeAnythingIsMade) {
    fs::remove(program() / "Version97c" / "sendg.dll");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::ToolsMissing);
    EXPECT_EQ(host.dialogs.messages.back().text, host.session.msg(app::Msg::MsgSendgMissing));

    fs::remove(program() / "Version97c" / "cgpsmapper.exe");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::ToolsMissing);
    EXPECT_EQ(host.dialogs.messages.back().text, host.session.msg(app::Msg::MsgCgpsmapper97cMissing));
    EXPECT_EQ(host.dialogs.messages.back().title, "VELDRA Version80-33-1");
    EXPECT_FALSE(fs::exists(tiles / "Alpsoooo.tdb"));
    EXPECT_FALSE(host.registry.keyExists(HKLM, "SOFTWARE\\Wow6432Node\\Garmin"));
}

TEST_F(IntegrationDriverTest, NoTdbFromGmtOrNoGmtEndsTheIntegrationAndRegistersNothing) {
    writeScript(program() / "gmt.exe", SilentTool);
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::NoTdb);
    EXPECT_EQ(host.dialogs.texts(), std::vector<std::string>{host.session.msg(app::Msg::MsgTdbCreationFailed)});

    fs::remove(program() / "gmt.exe");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::NoTdb);
    const auto texts = host.dialogs.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], host.session.msg(app::Msg::MsgGmtMissing));
    EXPECT_EQ(texts[2], host.session.msg(app::Msg::MsgTdbCreationFailed));
    EXPECT_EQ(host.dialogs.messages.back().title, "VELDRA Build 80-33-1");
    EXPECT_EQ(readText(program() / "list.txt"),
              (tiles / "12345678.img").string() + "\r\n" + (tiles / "12345679.img").string() + "\r\n");
    EXPECT_FALSE(host.registry.keyExists(HKLM, "SOFTWARE\\Wow6432Node\\Garmin"));
    EXPECT_EQ(catalogRebuilds, 0);
}

TEST_F(IntegrationDriverTest, NoOverviewMapWithoutJavaShowsTheManualInstructions) {
    writeScript(program() / "Version97c" / "cgpsmapper.exe", SilentTool);
    EXPECT_EQ(runWithPath("/nonexistent"), IntegrationOutcome::NoOverviewMap);
    const std::string& text = host.dialogs.messages.back().text;
    EXPECT_EQ(text, host.session.msg(app::Msg::MsgManualPreviewInstructions));
    EXPECT_NE(text.find("Alpsoooo.mp over file " + (program() / "Version97c" / "cgpsmapper.exe").string()),
              std::string::npos);
    EXPECT_TRUE(fs::exists(tiles / "Alpsoooo.tdb"));
    EXPECT_FALSE(host.registry.keyExists(HKLM, "SOFTWARE\\Wow6432Node\\Garmin"));
}

TEST_F(IntegrationDriverTest, JavaFallBackRunsMkgmapWithItsTenLines) {
    writeScript(program() / "Version97c" / "cgpsmapper.exe", SilentTool);
    // A java stand-in that keeps the config it was given and makes the overview map.
    const fs::path bin = host.temp.path() / "bin";
    writeScript(bin / "java", "#!/bin/sh\ncp \"${3#--read-config=}\" \"" + (host.temp.path() / "args.txt").string() +
                                  "\"\ncp \"$5\" \"" + (host.temp.path() / "files.txt").string() + "\"\n" +
                                  "touch \"" + (tiles / "Alpsoooo.img").string() + "\"\n");
    host.dialogs.answer({MessageAnswer::Yes});
    EXPECT_EQ(runWithPath(bin.string() + ":" + getenv("PATH")), IntegrationOutcome::Registered);
    EXPECT_EQ(readText(host.temp.path() / "args.txt"),
              "code-page=1252\r\nmax-jobs=\r\nfamily-id=4711\r\noverview-mapname=Alpsoooo\r\n"
              "series-name=Alpsoooo\r\nfamily-name=Alpsoooo\r\ntdbfile\r\npoi-address\r\noutput-dir=" +
                  tiles.string() + "\r\ngmapi\r\n");
    EXPECT_EQ(readText(host.temp.path() / "files.txt"), "input-file=" + (tiles / "12345678.img").string() +
                                                            "\r\ninput-file=" + (tiles / "12345679.img").string() +
                                                            "\r\n");
    EXPECT_FALSE(fs::exists(program() / "list.args"));
    EXPECT_FALSE(fs::exists(program() / "filelist.txt"));
    ASSERT_FALSE(host.dialogs.messages.empty());
    EXPECT_EQ(host.dialogs.messages[0].text, host.session.msg(app::Msg::MsgPreviewFailed));
    EXPECT_EQ(host.dialogs.messages[0].title, "VELDRA Build 80-33-1");
}

TEST_F(IntegrationDriverTest, AValueThatDoesNotReadBackStopsTheWrites) {
    host.registry.dropWritesUnder(HKLM, "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alpsoooo4711\\1");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::RegistryWriteFailed);
    const auto texts = host.dialogs.texts();
    // Once from the registry entry, once more from the driver.
    EXPECT_EQ(std::count(texts.begin(), texts.end(), host.session.msg(app::Msg::MsgRegistryWriteFailed)), 2);
    EXPECT_FALSE(host.session.routines.registryWritable());
}

TEST_F(IntegrationDriverTest, AFileTheEntryNamesThatCannotReachTheDiskKeepsTheEntryOut) {
    // A file of /proc cannot be flushed: the flush comes before the first value.
    fs::create_symlink("/proc/self/status", tiles / "Alpsoooo.TYP");
    EXPECT_EQ(run(job("Alps", "4711")), IntegrationOutcome::RegistryWriteFailed);
    EXPECT_FALSE(host.registry.keyExists(HKLM, "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alpsoooo4711"));
    EXPECT_EQ(host.dialogs.messages.back().text, host.session.msg(app::Msg::MsgRegistryWriteFailed));
}

TEST(FileBaseName, EveryBlankBecomesAnUnderscore) { EXPECT_EQ(integration::underscored("a b  c"), "a_b__c"); }

}  // namespace
}  // namespace veldra
