// The TDB writer, read back by an independent reader and by the program's own
// TDB readers (header, tile list, checksum, renaming).
#include "formats/TdbWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

TdbMapset twoTiles() {
    TdbMapset m;
    m.pid = 1;
    m.fid = 4711;
    m.seriesName = "Topo Deutschland";
    m.familyName = "Topo Deutschland";
    m.codePage = 1252;
    m.copyrights = {"Mapset made with VELDRA", "second line"};
    m.overviewNumber = 11000000;
    m.tiles = {{11000001, {100, 50, 90, 40}, "North (11000001)", {{"11000001.RGN", 283}, {"11000001.TRE", 714}}},
               {11000002, {-10, -20, -30, -2000000}, "South (11000002)", {{"11000002.TRE", 1}}}};
    return m;
}

TEST(TdbWriter, BlocksAndFieldsReadBack) {
    const auto built = buildTdb(twoTiles());
    ASSERT_TRUE(built.error.empty());
    const auto tdb = readTdbForTest(built.bytes);
    EXPECT_EQ(blockTypes(tdb.blocks), (std::vector<std::uint8_t>{'P', 'D', 'R', 'B', 'L', 'L', 'T'}));
    EXPECT_EQ(tdb.pid, 1);
    EXPECT_EQ(tdb.fid, 4711);
    EXPECT_EQ(tdb.version, 407);
    EXPECT_EQ(tdb.familyName, "Topo Deutschland");
    EXPECT_EQ(tdb.codePage, 1252u);
    EXPECT_EQ(tdb.overviewNumber, 11000000u);
    EXPECT_EQ(tdb.overviewDescription, "Topo Deutschland");
    // The overview covers both tiles; the TDB counts 2^32 units, map units 2^24.
    EXPECT_EQ(tdb.overviewBox, (TdbBox{100 * 256, 50 * 256, -30 * 256, -2000000 * 256}));
    ASSERT_EQ(tdb.tiles.size(), 2u);
    EXPECT_EQ(tdb.tiles[1].box, (TdbBox{-10 * 256, -20 * 256, -30 * 256, -2000000 * 256}));
    EXPECT_EQ(tdb.tiles[0].parent, 11000000u);
    EXPECT_EQ(tdb.tiles[0].sizes, (std::vector<std::uint32_t>{283, 714}));
    EXPECT_EQ(tdb.tiles[0].names, (std::vector<std::string>{"11000001.RGN", "11000001.TRE"}));
    EXPECT_EQ(tdb.tiles[1].description, "South (11000002)");
}

TEST(TdbWriter, TheProgramsOwnReadersAgree) {
    const auto bytes = buildTdb(twoTiles()).bytes;
    EXPECT_EQ(checksumMatches(bytes), true);
    const auto header = parseTdbHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->shownName(), "Topo Deutschland");
    EXPECT_EQ(header->fid, 4711);
    const auto tiles = listTdbTiles(bytes);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[1].number, 11000002u);
    EXPECT_EQ(tiles[0].description, "North (11000001)");

    // Renaming finds the name in the header, name and overview blocks.
    const auto renamed = renameTdbImage(bytes, "Alpen");
    ASSERT_TRUE(renamed);
    const auto after = readTdbForTest(renamed->image);
    EXPECT_EQ(after.seriesName, "Alpen");
    EXPECT_EQ(after.overviewDescription, "Alpen");
}

TEST(TdbWriter, ChecksumCoversEverythingBeforeTheTrailer) {
    auto mapset = twoTiles();
    const auto first = buildTdb(mapset).bytes;
    mapset.tiles[0].subfiles[0].size = 284;
    const auto second = buildTdb(mapset).bytes;
    ASSERT_EQ(first.size(), second.size());
    EXPECT_EQ(checksumMatches(second), true);
    const auto trailer = static_cast<std::ptrdiff_t>(first.size()) - 23;
    EXPECT_EQ(first.end()[-23], 'T');
    EXPECT_FALSE(std::equal(first.begin() + trailer, first.end(), second.begin() + trailer));
}

TEST(TdbWriter, RefusesWhatItCannotStore) {
    auto tooMany = twoTiles();
    tooMany.tiles[0].subfiles.assign(20000, {"11000001.XYZ", 1});  // the block outgrows 16 bits
    EXPECT_NE(buildTdb(tooMany).error.find("tile 11000001"), std::string::npos);
    auto zeroInName = twoTiles();
    zeroInName.seriesName = std::string("a\0b", 3);
    EXPECT_NE(buildTdb(zeroInName).error.find("header"), std::string::npos);
    EXPECT_TRUE(buildTdb(zeroInName).bytes.empty());
}

}  // namespace
}  // namespace veldra::formats
