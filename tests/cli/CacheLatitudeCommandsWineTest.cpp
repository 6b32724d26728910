// `veldra cache` and `veldra latitude` on a prefix that Wine made: the cache
// folders Wine's shell names, and the per-user latitude as Wine's `reg` reads it.

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::runCommand;
using testing::shellQuote;
using testing::WineTestPrefix;

const std::string LatitudeKey = "HKCU\\Software\\Garmin\\SharedSettings\\Products\\308740097";

class CacheLatitudeCommandsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = WineTestPrefix::path();
    }

    testing::CommandResult wine(const std::string& command) const {
        return runCommand(testing::wineCommand(prefix, command));
    }
    // Exit code and everything `veldra` printed, messages included.
    testing::CommandResult veldra(const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments);
    }
    // What `reg query` prints for the latitude key, empty when it is missing.
    std::string queryLatitude() const {
        const auto query = wine("wine reg query " + shellQuote(LatitudeKey));
        return query.status == 0 ? query.output : std::string();
    }
    // A folder of Wine's shell, by its environment variable, as host and native path.
    std::pair<std::string, fs::path> shellFolder(const std::string& variable) const {
        std::string host = wine("wine cmd /c echo %" + variable + "%").output;
        while (!host.empty() && (host.back() == '\n' || host.back() == '\r')) host.pop_back();
        std::string native = wine("winepath -u " + shellQuote(host)).output;
        while (!native.empty() && native.back() == '\n') native.pop_back();
        return {host, native};
    }

    fs::path prefix;
};

TEST_F(CacheLatitudeCommandsWineTest, CacheSizesAndEmptyingTheBaseCampTileCache) {
    const auto [localHost, local] = shellFolder("LOCALAPPDATA");
    ASSERT_EQ(localHost.rfind("C:\\users\\", 0), 0u) << localHost;
    const fs::path cache = local / "Garmin" / "BaseCamp" / "TileCache";
    fs::create_directories(cache / "sub");
    testing::writeBytes(cache / "a.bin", std::vector<std::uint8_t>(2 * 1048476, 1));
    testing::writeBytes(cache / "b.bin", std::vector<std::uint8_t>(1000, 2));
    testing::writeBytes(cache / "sub" / "kept.bin", std::vector<std::uint8_t>(1048476, 3));

    const auto shown = veldra("cache");
    ASSERT_EQ(shown.status, 0) << shown.output;
    const auto lines = testing::outputLines(shown.output);
    ASSERT_GE(lines.size(), 6u) << shown.output;
    EXPECT_EQ(lines[2], localHost + "\\GARMIN\\Basecamp\\TileCache :3 MB belegt");
    EXPECT_EQ(lines[3], localHost + "\\GARMIN\\Mapinstall\\Tilecache : folder is not existing");
    EXPECT_EQ(lines[5], localHost + "\\Garmin\\BaseCamp\\ProductDataCache : folder is not existing");

    const auto emptied = veldra("cache --empty basecamp");
    EXPECT_EQ(emptied.status, 0) << emptied.output;
    EXPECT_EQ(emptied.output,
              "1 im Tilecache\n" + localHost + "\\GARMIN\\Basecamp\\TileCache :1 MB belegt\n");
    EXPECT_EQ(testing::namesIn(cache), std::vector<std::string>{"sub"});
    EXPECT_TRUE(fs::exists(cache / "sub" / "kept.bin"));

    const auto missing = veldra("cache --empty mapinstall");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "Folder \\GARMIN\\Mapinstall\\Tilecache is not existing\n");
    EXPECT_EQ(veldra("cache --empty elsewhere").status, 2);
}

TEST_F(CacheLatitudeCommandsWineTest, LatitudeShowSetAutomaticAndSuggested) {
    EXPECT_EQ(veldra("latitude 4711 1").output, "there are no settings for this map\n");
    const auto set = veldra("latitude 4711 1 47");
    EXPECT_EQ(set.status, 0) << set.output;
    EXPECT_EQ(set.output, "47°\n");
    EXPECT_NE(queryLatitude().find("ProjectionAngle    REG_DWORD    0x2f"), std::string::npos) << queryLatitude();
    EXPECT_EQ(veldra("latitude 4711 1").output, "47°\n");

    const auto outOfRange = veldra("latitude 4711 1 90");
    EXPECT_EQ(outOfRange.status, 1);
    EXPECT_EQ(outOfRange.output, "only 5 to 85 are valid values.\n");
    EXPECT_EQ(veldra("latitude 4711 0 47").output, "wrong PID\n");
    EXPECT_NE(queryLatitude().find("0x2f"), std::string::npos);

    const auto automatic = veldra("latitude 4711 1 --auto");
    EXPECT_EQ(automatic.status, 0) << automatic.output;
    EXPECT_EQ(automatic.output, "there are no settings for this map\n");
    EXPECT_EQ(queryLatitude(), "");

    // alpha's tiles lie around 47 N.
    const std::string family = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Latitude4711";
    const fs::path maps = prefix / "drive_c" / "maps" / "latitude";
    fs::create_directories(maps);
    for (const char* file : {"11000000.tdb", "11000000.img"})
        fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / file, maps / file,
                      fs::copy_options::overwrite_existing);
    const auto add = [&](const std::string& key, const std::string& name, const std::string& type,
                         const std::string& data) {
        return testing::wineCommand(prefix, "wine reg add " + shellQuote(key) + " /v " + name + " /t " + type +
                                                " /d " + shellQuote(data) + " /f >/dev/null");
    };
    ASSERT_EQ(runCommand(add(family, "ID", "REG_BINARY", "6712") + " && " +
                         add(family + "\\1", "TDB", "REG_SZ", "C:\\maps\\latitude\\11000000.tdb") + " && " +
                         add(family + "\\1", "BMAP", "REG_SZ", "C:\\maps\\latitude\\11000000.img") + " && " +
                         add(family + "\\1", "LOC", "REG_SZ", "C:\\maps\\latitude\\"))
                  .status,
              0);
    ASSERT_EQ(veldra("settings --os64 yes").status, 0);

    const auto refused = veldra("--no latitude 4711 1 --suggest");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("middle of the map's area: 47° ? -> no"), std::string::npos) << refused.output;
    EXPECT_EQ(queryLatitude(), "");
    const auto suggested = veldra("--yes latitude 'Veldra Alpha' --pid 1 --suggest");
    EXPECT_EQ(suggested.status, 0) << suggested.output;
    EXPECT_NE(suggested.output.find("47° ? -> yes\n47°\n"), std::string::npos) << suggested.output;
    EXPECT_NE(queryLatitude().find("REG_DWORD    0x2f"), std::string::npos) << queryLatitude();

    EXPECT_EQ(veldra("latitude 4711 1 --auto").status, 0);
    wine("wine reg delete " + shellQuote(family) + " /f");
    wine("wineserver -w");
}

}  // namespace
}  // namespace veldra
