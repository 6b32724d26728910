// The catalog commands against a prefix that Wine made and filled: keys added
// with `wine reg add`, a shortcut made by WScript.Shell, Wine reading back
// what `veldra` changed, the cache folders Wine's shell names, and the
// per-user latitude as Wine's `reg` reads it.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <fstream>

#include <nlohmann/json.hpp>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::shellQuote;

const std::string Families = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\";
const std::string LatitudeKey = "HKCU\\Software\\Garmin\\SharedSettings\\Products\\308740097";

class CatalogCommandsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = testing::WineTestPrefix::path();
        ASSERT_TRUE(fs::exists(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "11000000.tdb"))
            << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
    }

    testing::CommandResult wine(const std::string& command) const { return testing::runInWine(prefix, command); }
    // Exit code and everything `veldra` printed (only standard output unless `withMessages`).
    testing::CommandResult veldra(const std::string& arguments, bool withMessages = true) const {
        return testing::veldraOnPrefix(prefix, arguments, withMessages);
    }
    fs::path drive(const std::string& relative) const { return prefix / "drive_c" / relative; }
    // alpha's TDB and overview map (with `extra` files) in C:\maps\<folder>, registered as `family`.
    void registerAlpha(const std::string& family, const std::string& folder, const char* extra = nullptr) const {
        fs::create_directories(drive("maps/" + folder));
        for (const char* file : {"11000000.tdb", "11000000.img", extra})
            if (file)
                fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / file, drive("maps/" + folder) / file,
                              fs::copy_options::overwrite_existing);
        ASSERT_TRUE(testing::registerFamilyWithWine(prefix, Families + family, folder, "11000000", "6712"));
    }
    // What `reg query` prints for the latitude key, empty when it is missing.
    std::string queryLatitude() const {
        const auto query = wine("wine reg query " + shellQuote(LatitudeKey));
        return query.status == 0 ? query.output : std::string();
    }

    fs::path prefix;
};

TEST_F(CatalogCommandsWineTest, ListTypRenameRemoveCacheAndLatitudeOnWhatWineWrote) {
    ASSERT_NO_FATAL_FAILURE(registerAlpha("Alpha4711", "alpha", "alpha.typ"));

    // A package outside the maps folders, found through Wine's own shortcut.
    const fs::path package = drive("maps/Topo North.gmap");
    fs::create_directories(package / "Product1");
    std::ofstream(package / "Info.xml", std::ios::binary)
        << "<MapProduct>\r\n<Name>Topo North</Name>\r\n<ID>12</ID>\r\n<SubProduct>\r\n<Name>Topo North</Name>\r\n"
           "<ID>1</ID>\r\n<TDB>topo.tdb</TDB>\r\n</SubProduct>\r\n</MapProduct>\r\n";
    fs::create_directories(drive("ProgramData/Garmin/Maps"));
    std::ofstream(drive("link.vbs")) << "Set l = CreateObject(\"WScript.Shell\").CreateShortcut(WScript.Arguments(0))\n"
                                        "l.TargetPath = WScript.Arguments(1)\nl.Save\n";
    ASSERT_EQ(wine("wine cscript //nologo 'C:\\link.vbs' 'C:\\ProgramData\\Garmin\\Maps\\Topo.lnk' "
                   "'C:\\maps\\Topo North.gmap'")
                  .status,
              0);
    ASSERT_TRUE(fs::exists(drive("ProgramData/Garmin/Maps/Topo.lnk")));

    ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    const auto listed = veldra("list --json", false);
    ASSERT_EQ(listed.status, 0) << listed.output;
    const auto entries = nlohmann::json::parse(listed.output);
    ASSERT_EQ(entries.size(), 2u) << listed.output;
    EXPECT_EQ(std::make_tuple(entries[0]["kind"], entries[0]["name"], entries[0]["fid"], entries[0]["subkey"]),
              std::make_tuple("Families", "Veldra Alpha", 4711, "Alpha4711\\1"));
    EXPECT_EQ(std::make_tuple(entries[1]["kind"], entries[1]["display"], entries[1]["tdb"]),
              std::make_tuple("gmap", "gmap; Topo North; FID:12;PID:1", "C:\\maps\\Topo North.gmap\\Product1\\topo.tdb"));
    EXPECT_EQ(veldra("free-fid", false).output, "10\n");

    const auto typ = veldra("typ 'Veldra Alpha' " + shellQuote(drive("maps/alpha/alpha.typ").string()), false);
    EXPECT_EQ(typ.status, 0) << typ.output;
    const auto query = wine("wine reg query " + shellQuote(Families + "Alpha4711") + " /v TYP");
    EXPECT_NE(query.output.find("C:\\maps\\alpha\\10318.TYP"), std::string::npos) << query.output;
    EXPECT_TRUE(fs::exists(drive("maps/alpha/10318.TYP")));

    EXPECT_EQ(veldra("rename 4711 Alpen").status, 0);
    EXPECT_EQ(veldra("rename Unknown X").status, 1);
    EXPECT_NE(veldra("list", false).output.find("Alpen\tFID:4711\tPID:1\tFamilies\tAlpha4711\\1"), std::string::npos);

    EXPECT_EQ(veldra("--no remove Alpen").status, 1);
    EXPECT_EQ(veldra("--yes remove Alpen").status, 0);
    EXPECT_NE(wine("wine reg query " + shellQuote(Families + "Alpha4711") + " >/dev/null").status, 0);
    wine("wineserver -w");
    EXPECT_FALSE(fs::exists(drive("maps/alpha/11000000.tdb")));
    EXPECT_EQ(veldra("--yes remove 'Topo North'").status, 0);
    EXPECT_FALSE(fs::exists(package));
    EXPECT_EQ(veldra("list --json", false).output, "[]\n");

    // The cache folders and the latitude, in the same prefix: each start of a test program makes one.
    std::string localHost = wine("wine cmd /c echo %LOCALAPPDATA%").output;
    localHost.erase(localHost.find_last_not_of("\r\n") + 1);
    ASSERT_EQ(localHost.rfind("C:\\users\\", 0), 0u) << localHost;
    const fs::path cache = testing::nativeByWine(prefix, localHost) / "Garmin" / "BaseCamp" / "TileCache";
    fs::create_directories(cache / "sub");
    testing::writeBytes(cache / "a.bin", std::vector<std::uint8_t>(2 * 1048476, 1));
    testing::writeBytes(cache / "b.bin", std::vector<std::uint8_t>(1000, 2));
    testing::writeBytes(cache / "sub" / "kept.bin", std::vector<std::uint8_t>(1048476, 3));

    const auto shown = veldra("cache");
    ASSERT_EQ(shown.status, 0) << shown.output;
    const auto lines = testing::outputLines(shown.output);
    ASSERT_GE(lines.size(), 6u) << shown.output;
    // Each folder as this computer names it, then the window's wording.
    const auto shownFolder = [](const std::string& line, const std::string& ending) {
        EXPECT_TRUE(line.ends_with(ending)) << line;
        return fs::path(line.substr(0, line.size() - std::min(line.size(), ending.size())));
    };
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(shownFolder(lines[2], " :3 MB belegt"), cache, ec)) << lines[2];
    for (const auto& line : {lines[0], lines[3], lines[5]}) EXPECT_EQ(line.find("C:\\"), std::string::npos) << line;
    EXPECT_EQ(shownFolder(lines[3], " : folder is not existing").parent_path().filename(), "Mapinstall");
    EXPECT_EQ(shownFolder(lines[5], " : folder is not existing").filename(), "ProductDataCache");

    const auto emptied = veldra("cache --empty basecamp");
    EXPECT_EQ(emptied.status, 0) << emptied.output;
    ASSERT_EQ(emptied.output.rfind("1 im Tilecache\n", 0), 0u) << emptied.output;
    const auto emptiedLine = emptied.output.substr(std::string("1 im Tilecache\n").size());
    EXPECT_TRUE(fs::equivalent(shownFolder(emptiedLine, " :1 MB belegt\n"), cache, ec)) << emptied.output;
    EXPECT_EQ(testing::namesIn(cache), std::vector<std::string>{"sub"});
    EXPECT_TRUE(fs::exists(cache / "sub" / "kept.bin"));

    const auto missing = veldra("cache --empty mapinstall");
    EXPECT_EQ(std::tie(missing.status, missing.output),
              std::make_tuple(1, "Folder \\GARMIN\\Mapinstall\\Tilecache is not existing\n"));
    EXPECT_EQ(veldra("cache --empty elsewhere").status, 2);

    EXPECT_EQ(veldra("latitude 4711 1").output, "there are no settings for this map\n");
    const auto set = veldra("latitude 4711 1 47");
    EXPECT_EQ(std::tie(set.status, set.output), std::make_tuple(0, "47°\n"));
    EXPECT_NE(queryLatitude().find("ProjectionAngle    REG_DWORD    0x2f"), std::string::npos) << queryLatitude();
    EXPECT_EQ(veldra("latitude 4711 1").output, "47°\n");

    const auto automatic = veldra("latitude 4711 1 --auto");
    EXPECT_EQ(std::tie(automatic.status, automatic.output), std::make_tuple(0, "there are no settings for this map\n"));
    EXPECT_EQ(queryLatitude(), "");

    // alpha's tiles lie around 47 N.
    ASSERT_NO_FATAL_FAILURE(registerAlpha("Latitude4711", "latitude"));
    const auto refused = veldra("--no latitude 4711 1 --suggest");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("middle of the map's area: 47° ? -> no"), std::string::npos) << refused.output;
    EXPECT_EQ(queryLatitude(), "");
    const auto suggested = veldra("--yes latitude 'Veldra Alpha' --pid 1 --suggest");
    EXPECT_EQ(suggested.status, 0) << suggested.output;
    EXPECT_NE(suggested.output.find("47° ? -> yes\n47°\n"), std::string::npos) << suggested.output;
    EXPECT_NE(queryLatitude().find("REG_DWORD    0x2f"), std::string::npos) << queryLatitude();
    // The tests of one run share the prefix.
    EXPECT_EQ(veldra("latitude 4711 1 --auto").status, 0);
    wine("wine reg delete " + shellQuote(Families + "Latitude4711") + " /f");
}

}  // namespace
}  // namespace veldra
