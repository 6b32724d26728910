// The cache window's folders, sizes and lines, and emptying a cache: only the
// files directly in its folder go.

#include "tools/CacheEmptying.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/FakeHost.h"
#include "support/FileBytes.h"
#include "support/ProgressRecord.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using tools::Cache;
using tools::SizeState;

TEST(CacheSizeTest, BytesAreShownInRoundedUnitsOf1048476) {
    EXPECT_EQ(tools::shownMegabytes(0), 0u);
    EXPECT_EQ(tools::shownMegabytes(524237), 0u);
    EXPECT_EQ(tools::shownMegabytes(524238), 1u);
    EXPECT_EQ(tools::shownMegabytes(1048476), 1u);
    EXPECT_EQ(tools::shownMegabytes(1048576), 1u);
    EXPECT_EQ(tools::shownMegabytes(1572713), 1u);
    EXPECT_EQ(tools::shownMegabytes(1572714), 2u);
    // 1048576000 bytes are 1000.095 units: the divisor is not 2^20.
    EXPECT_EQ(tools::shownMegabytes(1048576000), 1000u);
    EXPECT_EQ(tools::shownMegabytes(1048476u * 1001), 1001u);
}

TEST(CacheSizeTest, LinesNameEachCacheInItsOwnSpelling) {
    const std::string base = "C:\\users\\me\\AppData\\Local";
    // Each cache's folder, then what follows it for two units, a missing and a refused folder.
    const std::tuple<Cache, const char*, const char*, const char*, const char*> lines[] = {
        {Cache::BaseCampTiles, "\\GARMIN\\Basecamp\\TileCache", " :2 MB belegt", ": folder is not existing",
         ": Zugriff verweigert"},
        {Cache::MapInstallTiles, "\\GARMIN\\Mapinstall\\Tilecache", " :2 MB belegt", " : folder is not existing",
         " : Zugriff verweigert"},
        {Cache::MapSourceTiles, "\\Garmin\\Mapsource\\Tilecache", " :2 MB belegt", " : folder is not existing",
         " :Zugriff verweigert"},
        {Cache::ProductData, "\\Garmin\\BaseCamp\\ProductDataCache", " :2 belegt", " : folder is not existing",
         " : Zugriff verweigert"},
    };
    for (const auto& [cache, folder, present, missing, denied] : lines) {
        EXPECT_EQ(tools::sizeLine(cache, base, {SizeState::Present, 2 * 1048476}), base + folder + present);
        EXPECT_EQ(tools::sizeLine(cache, base, {SizeState::Missing, 0}), base + folder + missing);
        EXPECT_EQ(tools::sizeLine(cache, base, {SizeState::AccessDenied, 0}), base + folder + denied);
    }
}

TEST(CacheSizeTest, SmallProductDataIsShownInBytes) {
    EXPECT_EQ(tools::sizeLine(Cache::ProductData, "X:", {SizeState::Present, 1000}),
              "X:\\Garmin\\BaseCamp\\ProductDataCache :1000 Byte belegt");
    EXPECT_EQ(tools::sizeLine(Cache::ProductData, "X:", {SizeState::Present, 0}),
              "X:\\Garmin\\BaseCamp\\ProductDataCache :0 belegt");
    // A tile cache below half a unit shows 0.
    EXPECT_EQ(tools::sizeLine(Cache::BaseCampTiles, "X:", {SizeState::Present, 1000}),
              "X:\\GARMIN\\Basecamp\\TileCache :0 MB belegt");
}

class CacheFoldersTest : public ::testing::Test {
protected:
    fs::path localAppData() const { return fake.shell.specialFolder(platform::csidl::LocalAppData); }
    fs::path appData() const { return fake.shell.specialFolder(platform::csidl::AppData); }
    fs::path baseCampCache() const { return localAppData() / "Garmin" / "BaseCamp" / "TileCache"; }

    static void writeFile(const fs::path& file, std::size_t size) {
        fs::create_directories(file.parent_path());
        testing::writeBytes(file, std::vector<std::uint8_t>(size, 0x5A));
    }

    testing::FakeHost fake;
};

TEST_F(CacheFoldersTest, OverviewMeasuresEveryCacheWithItsSubfolders) {
    writeFile(baseCampCache() / "a.bin", 1048476);
    writeFile(baseCampCache() / "sub" / "b.bin", 600000);
    fs::create_directories(appData() / "GARMIN" / "MapSource" / "TileCache");
    writeFile(localAppData() / "GARMIN" / "BaseCamp" / "ProductDataCache" / "p.dat", 1000);

    const std::string local = fake.paths.toHost(localAppData());
    const std::string roaming = fake.paths.toHost(appData());
    EXPECT_EQ(tools::shownGmapFolder(tools::gmapFolderForAllUsers(fake.session)),
              fake.paths.toHost(fake.shell.specialFolder(platform::csidl::CommonAppData)) + "\\GARMIN\\Maps");
    EXPECT_EQ(tools::shownGmapFolder(tools::gmapFolderOfUser(fake.session)), roaming + "\\GARMIN\\Maps");
    EXPECT_EQ(tools::gmapFolderOfUser(fake.session).native, appData() / "GARMIN" / "Maps");

    std::vector<tools::CacheState> caches;
    for (const auto cache : tools::AllCaches) caches.push_back(tools::inspectCache(fake.session, cache));
    EXPECT_EQ(caches[0].size.bytes, 1048476u + 600000u);
    EXPECT_EQ(caches[0].line, local + "\\GARMIN\\Basecamp\\TileCache :2 MB belegt");
    EXPECT_TRUE(caches[0].canEmpty());
    EXPECT_EQ(caches[1].line, local + "\\GARMIN\\Mapinstall\\Tilecache : folder is not existing");
    EXPECT_FALSE(caches[1].canEmpty());
    EXPECT_EQ(caches[2].line, roaming + "\\Garmin\\Mapsource\\Tilecache :0 MB belegt");
    EXPECT_TRUE(caches[2].canEmpty());
    EXPECT_EQ(caches[3].line, local + "\\Garmin\\BaseCamp\\ProductDataCache :1000 Byte belegt");
}

TEST_F(CacheFoldersTest, LinksAreNotFollowedOutOfTheCache) {
    const fs::path outside = fake.temp.path() / "outside";
    writeFile(outside / "big.bin", 3 * 1048476);
    writeFile(baseCampCache() / "a.bin", 100);
    fs::create_directory_symlink(outside, baseCampCache() / "linked");
    fs::create_symlink(outside / "big.bin", baseCampCache() / "big.bin");

    EXPECT_EQ(tools::measureFolder(baseCampCache()).bytes, 100u);
    ASSERT_TRUE(tools::emptyCache(fake.session, Cache::BaseCampTiles).ok());
    // The link to a file goes as a link; what it pointed to stays.
    EXPECT_FALSE(fs::exists(fs::symlink_status(baseCampCache() / "big.bin")));
    EXPECT_EQ(fs::file_size(outside / "big.bin"), 3u * 1048476);
    EXPECT_TRUE(fs::is_symlink(baseCampCache() / "linked"));
}

TEST_F(CacheFoldersTest, EmptyingDeletesTopLevelFilesAndKeepsSubfolders) {
    writeFile(baseCampCache() / "a.bin", 2 * 1048476);
    writeFile(baseCampCache() / "b.bin", 10);
    writeFile(baseCampCache() / "sub" / "kept.bin", 3 * 1048476);

    testing::ProgressRecord progress;
    const auto emptied = tools::emptyCache(fake.session, Cache::BaseCampTiles, progress.callback());
    ASSERT_TRUE(emptied.ok());
    EXPECT_EQ(progress.told, testing::countsUpTo(2));  // the subfolder's file is no file of the cache
    EXPECT_EQ(testing::namesIn(baseCampCache()), std::vector<std::string>{"sub"});
    EXPECT_TRUE(fs::exists(baseCampCache() / "sub" / "kept.bin"));
    EXPECT_EQ(emptied->line, fake.paths.toHost(localAppData()) + "\\GARMIN\\Basecamp\\TileCache :3 MB belegt");
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, "3 im Tilecache");
    EXPECT_EQ(fake.dialogs.messages[0].icon, app::MessageIcon::Information);

    // MapInstall and MapSource tell the remaining size with its unit.
    writeFile(appData() / "GARMIN" / "MapSource" / "TileCache" / "t.bin", 5);
    ASSERT_TRUE(tools::emptyCache(fake.session, Cache::MapSourceTiles).ok());
    EXPECT_EQ(fake.dialogs.messages.back().text, "0 MB im Tilecache");
    EXPECT_TRUE(fs::is_empty(appData() / "GARMIN" / "MapSource" / "TileCache"));
}

TEST_F(CacheFoldersTest, CacheOfSubfoldersOnlyStaysAsItWas) {
    writeFile(baseCampCache() / "x" / "1.bin", 1048476);
    writeFile(baseCampCache() / "y" / "2.bin", 1048476);
    const auto before = tools::measureFolder(baseCampCache());

    ASSERT_TRUE(tools::emptyCache(fake.session, Cache::BaseCampTiles).ok());
    EXPECT_EQ(tools::measureFolder(baseCampCache()).bytes, before.bytes);
    EXPECT_EQ(testing::namesIn(baseCampCache()), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(fake.dialogs.messages.back().text, "2 im Tilecache");
}

TEST_F(CacheFoldersTest, MissingCacheIsToldAndNothingHappens) {
    const std::vector<std::pair<Cache, std::string>> told = {
        {Cache::BaseCampTiles, "Folder Garmin\\BaseCamp\\TileCache is not existing"},
        {Cache::MapInstallTiles, "Folder \\GARMIN\\Mapinstall\\Tilecache is not existing"},
        {Cache::MapSourceTiles, "Folder \\GARMIN\\MapSource\\TileCache is not existing"},
    };
    for (const auto& [cache, text] : told) {
        const auto emptied = tools::emptyCache(fake.session, cache);
        ASSERT_FALSE(emptied.ok());
        EXPECT_EQ(emptied.failure().kind, FailureKind::AlreadyShown);
        EXPECT_EQ(fake.dialogs.messages.back().text, text);
    }
    EXPECT_FALSE(fs::exists(localAppData()));
    EXPECT_FALSE(fs::exists(appData()));
}

TEST_F(CacheFoldersTest, OneClickEmptyingOfTheBaseCampTileCache) {
    EXPECT_FALSE(tools::emptyBaseCampTileCache(fake.session).ok());
    EXPECT_EQ(fake.dialogs.messages.back().text, "TileCache is not existing");
    auto refresh = tools::refreshBaseCampCacheButton(fake.session);
    EXPECT_EQ(refresh.notice, "Garmin\\BaseCamp\\TileCache is not existing");
    EXPECT_FALSE(refresh.caption);

    writeFile(baseCampCache() / "a.bin", 1048476);
    writeFile(baseCampCache() / "sub" / "b.bin", 4 * 1048476);
    refresh = tools::refreshBaseCampCacheButton(fake.session);
    EXPECT_EQ(refresh.caption, "5 MB");
    EXPECT_FALSE(refresh.notice);

    const auto caption = tools::emptyBaseCampTileCache(fake.session);
    ASSERT_TRUE(caption.ok());
    EXPECT_EQ(*caption, "4 MB");
    EXPECT_EQ(fake.dialogs.messages.back().text, "4 MB im Tilecache");
    EXPECT_EQ(fake.dialogs.messages.back().icon, app::MessageIcon::Information);
    EXPECT_FALSE(fs::exists(baseCampCache() / "a.bin"));

    // An empty cache leaves the caption alone.
    fs::remove_all(baseCampCache() / "sub");
    refresh = tools::refreshBaseCampCacheButton(fake.session);
    EXPECT_FALSE(refresh.caption);
    EXPECT_FALSE(refresh.notice);
}

}  // namespace
}  // namespace veldra
