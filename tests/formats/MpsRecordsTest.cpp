// The MPS records of mkgmap's two-family gmapsupp.img, and hostile records.
#include "formats/MpsRecords.h"

#include <gtest/gtest.h>

#include <tuple>

#include "formats/ImgReader.h"
#include "support/MapFiles.h"

namespace veldra::formats {
namespace {

using namespace veldra::testing;

std::vector<std::uint8_t> gmapsuppMps() {
    const auto image = readBytes(builtData("gmapsupp/gmapsupp.img"));
    const auto layout = parseImgImage(image).layout;
    return extractSubfile(image, *layout, *layout->find("MPS"));
}

TEST(MpsRecords, TellWhichTilesFormWhichFamilyAndSerializeBack) {
    const auto bytes = gmapsuppMps();
    const auto read = parseMps(bytes);
    ASSERT_TRUE(read.contents) << read.error;
    const auto& mps = *read.contents;
    EXPECT_TRUE(mps.hasFamilyInformation());
    const std::vector<std::pair<std::uint32_t, std::uint16_t>> expected = {
        {11000001, 4711}, {11000002, 4711}, {11000003, 4711}, {120001, 4712}, {120002, 4712}};
    ASSERT_EQ(mps.tiles.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& tile = mps.tiles[i];
        EXPECT_EQ(std::tie(tile.mapNumber, tile.mapId, tile.fid, tile.pid),
                  std::make_tuple(expected[i].first, expected[i].first, expected[i].second, 1));
    }
    EXPECT_EQ(mps.tiles[3].seriesName, "Veldra Beta");
    EXPECT_EQ(mps.tiles[0].areaName, "Area 11000001");
    ASSERT_EQ(mps.families.size(), 2u);
    EXPECT_EQ(std::tie(mps.families[0].name, mps.families[1].fid, mps.mapsetName),
              std::make_tuple("Veldra Alpha", 4712, "OSM map set"));
    EXPECT_EQ(mpsRecordFid(mps.records[3]), 4712);
    EXPECT_EQ(mpsRecordFid(mps.records.back()), std::nullopt);  // the V record
    EXPECT_EQ(serializeMps(mps.records), bytes);

    // Tile records alone name no family.
    std::vector<MpsRecord> tilesOnly;
    for (const auto& record : mps.records)
        if (record.type == MpsTileRecord) tilesOnly.push_back(record);
    const auto tiles = parseMps(serializeMps(tilesOnly));
    ASSERT_TRUE(tiles.contents);
    EXPECT_FALSE(tiles.contents->hasFamilyInformation());
}

TEST(MpsRecords, ZeroPaddingEndsTheRecordsAndHostileRecordsAreRefused) {
    const auto bytes = gmapsuppMps();
    auto padded = bytes;
    padded.insert(padded.end(), 30, 0);
    ASSERT_TRUE(parseMps(padded).contents);
    EXPECT_EQ(parseMps(padded).contents->records.size(), 8u);

    // Every cut inside a record (a cut at one of the 7 record boundaries is a shorter, valid list).
    std::size_t refused = 0;
    for (std::size_t length = 1; length < bytes.size(); ++length) {
        const auto cut = parseMps({bytes.data(), length});
        if (cut.contents) continue;
        ++refused;
        EXPECT_NE(cut.error.find("MPS"), std::string::npos);
    }
    EXPECT_EQ(refused, bytes.size() - 1 - 7);

    // An L record whose body ends inside its strings; bytes after the records that are no record.
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_NE(parseMps(Bytes{'L', 6, 0, 1, 0, 0x67, 0x12, 'A', 'B'}).error.find("too short"), std::string::npos);
    EXPECT_NE(parseMps(Bytes{'V', 2, 0, 'x', 0, 0, 0, 7}).error.find("neither a record nor padding"),
              std::string::npos);
}

}  // namespace
}  // namespace veldra::formats
