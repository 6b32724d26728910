// The TDB header and tile list as the catalog reads them, on mkgmap's files and
// hostile ones, and the TDB writer read back by an independent reader and by these.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbPackageWalk.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"
#include "formats/TdbWriter.h"
#include "support/MapFiles.h"
#include "support/TdbTestReader.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;
using Bytes = std::vector<std::uint8_t>;
using Numbers = std::vector<std::uint32_t>;

Numbers numbersOf(const std::vector<TdbTile>& tiles) {
    Numbers numbers;
    for (const auto& tile : tiles) numbers.push_back(tile.number);
    return numbers;
}

std::vector<StrictBlock> tileBlocksOf(const Bytes& tdb) {
    std::vector<StrictBlock> tiles;
    const auto blocks = strictTdbWalk(tdb);  // kept alive for the loop
    for (const auto& block : blocks.value())
        if (block.type == 0x4C) tiles.push_back(block);
    return tiles;
}

Bytes firstBytes(const Bytes& bytes, std::size_t count) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)};
}

class TdbReadingTest : public ScratchFolder {
protected:
    Bytes alpha = readBytes(AlphaTdb);
};

TEST_F(TdbReadingTest, HeaderFieldsAreMkgmapsAndTheNameComesFromTheFirstHeaderLengthBytes) {
    const TdbHeaderRead read = readTdbHeader(AlphaTdb);
    ASSERT_TRUE(read.header) << read.error;
    EXPECT_EQ(std::make_tuple(read.header->pid, read.header->fid, read.header->version, read.header->shownName()),
              std::make_tuple(1, 4711, 407, "Veldra Alpha"));
    // The catalog's 40 characters run on past the series name's terminator.
    EXPECT_EQ(read.header->nameField.size(), TdbNameFieldLimit);
    EXPECT_EQ(read.header->nameField.substr(0, 13), std::string("Veldra Alpha\0", 13));
    const auto beta = readTdbHeader(BetaTdb).header;
    EXPECT_EQ(std::make_tuple(beta->shownName(), beta->headerLength), std::make_tuple("Veldra Beta", 73));

    auto bytes = alpha;
    bytes[1] = 15;  // header length 15: bytes 9..14 are all the name there is
    bytes[2] = 0;
    EXPECT_EQ(parseTdbHeader(bytes)->nameField, "Veldra");
    bytes[1] = 5;  // shorter than the fixed fields: no name at all
    EXPECT_EQ(parseTdbHeader(bytes)->nameField, "");

    EXPECT_EQ(readTdbHeader(writeFile("twelve.tdb", firstBytes(alpha, 12))).header->nameField, "Vel");
    const TdbHeaderRead cut = readTdbHeader(writeFile("cut.tdb", firstBytes(alpha, 8)));
    EXPECT_FALSE(cut.header);
    EXPECT_NE(cut.error.find("too short"), std::string::npos) << cut.error;
    EXPECT_FALSE(readTdbHeader(folder() / "missing.tdb").header);
}

TEST_F(TdbReadingTest, ListsEveryTileMkgmapWroteBehindTheOtherBlocks) {
    // mkgmap puts the copyright, 0x52 and overview blocks between header and tiles.
    const auto tiles = listTdbTiles(alpha);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(imgTileLine(tiles[0]), "11000001.img  =  Veldra Alpha (11000001)");
    EXPECT_EQ(imgTileLine(tiles[2]), "11000003.img  =  Veldra Alpha (11000003)");
    EXPECT_EQ(gmpTileLine(tiles[1]), "11000002=  Veldra Alpha (11000002)");
    EXPECT_EQ(tiles[1].blockOffset, tileBlocksOf(alpha)[1].start);
    // The edges, read by the independent reader in the TDB's finer units.
    const auto box = readTdbForTest(alpha).tiles[2].box;
    EXPECT_EQ(tiles[2].bounds, (MapBounds{box.north / 256, box.east / 256, box.south / 256, box.west / 256}));
    // Map numbers below 10,000,000 get their leading zeros.
    const auto beta = listTdbTiles(readBytes(BetaTdb));
    ASSERT_EQ(beta.size(), 2u);
    EXPECT_EQ(imgTileLine(beta[0]), "00120001.img  =  Veldra Beta (00120001)");
    EXPECT_EQ(tileFileName(123456789), "23456789");
    // The package writer's walk finds the same tiles.
    EXPECT_EQ(packageTileNumbers(alpha), numbersOf(tiles));
    EXPECT_EQ(packageTileNumbers(readBytes(BetaTdb)), numbersOf(beta));
}

TEST_F(TdbReadingTest, ChangedBlocksEndTheTileListByTheirOwnRules) {
    const auto blocks = tileBlocksOf(alpha);
    // A non-tile block ends the run but not the package walk.
    auto retyped = alpha;
    retyped[blocks[1].start] = 0x58;
    EXPECT_EQ(numbersOf(listTdbTiles(retyped)), Numbers{11000001});
    EXPECT_EQ(packageTileNumbers(retyped), (Numbers{11000001, 11000003}));
    // The block behind the header is never a tile.
    auto copyrightAsTile = alpha;
    copyrightAsTile[strictTdbWalk(alpha).value()[1].start] = 0x4C;
    EXPECT_EQ(listTdbTiles(copyrightAsTile).size(), 3u);
    EXPECT_EQ(packageTileNumbers(copyrightAsTile).size(), 3u);
    // A tile starting exactly 28 bytes before the end is not read; at 29 it is, with two description bytes.
    EXPECT_EQ(listTdbTiles(firstBytes(alpha, blocks[2].start + 28)).size(), 2u);
    EXPECT_EQ(packageTileNumbers(firstBytes(alpha, blocks[2].start + 28)).size(), 2u);
    const auto at29 = listTdbTiles(firstBytes(alpha, blocks[2].start + 29));
    ASSERT_EQ(at29.size(), 3u);
    EXPECT_EQ(at29[2].description, "Ve");
    EXPECT_EQ(packageTileNumbers(firstBytes(alpha, blocks[2].start + 29)).size(), 3u);
    // The description takes its first byte always and runs to a zero byte.
    auto zeroFirst = alpha;
    zeroFirst[blocks[0].start + 27] = 0;
    EXPECT_EQ(listTdbTiles(zeroFirst)[0].description, std::string("\0eldra Alpha (11000001)", 23));
}

TEST(TdbTileListHostile, DamagedRunsEndTheListWithoutReadingPastTheEnd) {
    EXPECT_TRUE(listTdbTiles(Bytes{}).empty());
    EXPECT_TRUE(listTdbTiles(Bytes{0x50, 0x10}).empty());
    Bytes past = {0x50, 0xF0, 0xFF, 0x4C};  // a header length past the end
    past.resize(100, 0x4C);
    EXPECT_TRUE(listTdbTiles(past).empty());
    EXPECT_TRUE(packageTileNumbers(past).empty());
    // Zero-length blocks, tiles among them, are each stepped over by their three bytes.
    Bytes empty = {0x50, 0, 0, 0x44, 0, 0, 0x4C, 0, 0, 0x4C, 0, 0};
    empty.resize(80, 0);
    const auto tiles = listTdbTiles(empty);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[1].blockOffset, 9u);
    EXPECT_EQ(tiles[1].bounds, std::nullopt);  // too short to hold the edges
    // A tile block whose length runs past the end ends the list there.
    Bytes runaway = {0x50, 0, 0, 0x44, 0, 0, 0x4C, 0xFF, 0xFF, 1, 0, 0, 0};
    runaway.resize(64, 'x');
    EXPECT_EQ(listTdbTiles(runaway).size(), 1u);
    EXPECT_EQ(packageTileNumbers(runaway), Numbers{1});
}

TdbMapset twoTiles() {
    TdbMapset m;
    m.pid = 1;
    m.fid = 4711;
    m.seriesName = m.familyName = "Topo Deutschland";
    m.codePage = 1252;
    m.copyrights = {"Mapset made with VELDRA", "second line"};
    m.overviewNumber = 11000000;
    m.tiles = {{11000001, {100, 50, 90, 40}, "North (11000001)", {{"11000001.RGN", 283}, {"11000001.TRE", 714}}},
               {11000002, {-10, -20, -30, -2000000}, "South (11000002)", {{"11000002.TRE", 1}}}};
    return m;
}

TEST(TdbWriter, BlocksAndFieldsReadBack) {
    const auto built = buildTdb(twoTiles());
    ASSERT_EQ(built.error, "");
    const auto tdb = readTdbForTest(built.bytes);
    EXPECT_EQ(blockTypes(tdb.blocks), (std::vector<std::uint8_t>{'P', 'D', 'R', 'B', 'L', 'L', 'T'}));
    EXPECT_EQ(std::tie(tdb.pid, tdb.fid, tdb.version, tdb.familyName, tdb.codePage, tdb.overviewNumber,
                       tdb.overviewDescription),
              std::make_tuple(1, 4711, 407, "Topo Deutschland", 1252u, 11000000u, "Topo Deutschland"));
    // The overview covers both tiles; the TDB counts 2^32 units, map units 2^24.
    EXPECT_EQ(tdb.overviewBox, (TdbBox{100 * 256, 50 * 256, -30 * 256, -2000000 * 256}));
    ASSERT_EQ(tdb.tiles.size(), 2u);
    EXPECT_EQ(tdb.tiles[1].box, (TdbBox{-10 * 256, -20 * 256, -30 * 256, -2000000 * 256}));
    EXPECT_EQ(std::tie(tdb.tiles[0].parent, tdb.tiles[0].sizes, tdb.tiles[0].names),
              std::make_tuple(11000000u, std::vector<std::uint32_t>{283, 714},
                              std::vector<std::string>{"11000001.RGN", "11000001.TRE"}));
    EXPECT_EQ(tdb.tiles[1].description, "South (11000002)");
}

TEST(TdbWriter, TheProgramsOwnReadersAgreeAndTheChecksumCoversTheTiles) {
    auto mapset = twoTiles();
    const auto bytes = buildTdb(mapset).bytes;
    EXPECT_EQ(checksumMatches(bytes), true);
    const auto header = parseTdbHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(std::make_tuple(header->shownName(), header->fid), std::make_tuple("Topo Deutschland", 4711));
    const auto tiles = listTdbTiles(bytes);
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(std::tie(tiles[1].number, tiles[0].description), std::make_tuple(11000002u, "North (11000001)"));
    EXPECT_EQ(tiles[1].bounds, (MapBounds{-10, -20, -30, -2000000}));
    // Renaming finds the name in the header, name and overview blocks.
    const auto renamed = renameTdbImage(bytes, "Alpen");
    ASSERT_TRUE(renamed);
    const auto after = readTdbForTest(renamed->image);
    EXPECT_EQ(std::tie(after.seriesName, after.overviewDescription), std::make_tuple("Alpen", "Alpen"));
    const auto nameBlock = firstBlockOf(after.blocks, 0x52);  // a marker byte, then the name
    const auto nameStart = renamed->image.begin() + static_cast<std::ptrdiff_t>(nameBlock.start + 4);
    EXPECT_EQ(std::string(nameStart, nameStart + static_cast<std::ptrdiff_t>(nameBlock.length - 1)),
              std::string("Alpen\0", 6));

    mapset.tiles[0].subfiles[0].size = 284;
    const auto changed = buildTdb(mapset).bytes;
    ASSERT_EQ(changed.size(), bytes.size());
    EXPECT_EQ(checksumMatches(changed), true);
    EXPECT_EQ(bytes.end()[-23], 'T');
    EXPECT_FALSE(std::equal(bytes.end() - 23, bytes.end(), changed.end() - 23));
}

TEST(TdbWriter, RefusesWhatItCannotStore) {
    auto tooMany = twoTiles();
    tooMany.tiles[0].subfiles.assign(20000, {"11000001.XYZ", 1});  // the block outgrows 16 bits
    EXPECT_NE(buildTdb(tooMany).error.find("tile 11000001"), std::string::npos);
    auto zeroInName = twoTiles();
    zeroInName.seriesName = std::string("a\0b", 3);
    const auto refused = buildTdb(zeroInName);
    EXPECT_NE(refused.error.find("header"), std::string::npos);
    EXPECT_TRUE(refused.bytes.empty());
}

}  // namespace
}  // namespace veldra::formats
