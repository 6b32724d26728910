#pragma once
// An independent reader of the TDB blocks the tests compare: header, overview
// and tile blocks with their bounds and subfiles, as mkgmap writes them.

#include <cstdint>
#include <string>
#include <vector>

namespace veldra::outside::test {

struct TdbBox {
    std::int32_t north = 0, east = 0, south = 0, west = 0;  // as stored (2^32 units)
    friend bool operator==(const TdbBox&, const TdbBox&) = default;
};

struct TdbTestTile {
    std::uint32_t number = 0;
    std::uint32_t parent = 0;
    TdbBox box;
    std::string description;
    std::vector<std::uint32_t> sizes;
    std::vector<std::string> names;
};

struct TdbTestFile {
    std::vector<char> blockTypes;  // in file order
    std::uint16_t pid = 0, fid = 0, version = 0;
    std::string seriesName, familyName;
    std::uint32_t codePage = 0;
    std::uint32_t overviewNumber = 0;
    TdbBox overviewBox;
    std::string overviewDescription;
    std::vector<TdbTestTile> tiles;
};

// Throws std::runtime_error on anything it cannot read.
TdbTestFile readTdbForTest(const std::vector<std::uint8_t>& bytes);

}  // namespace veldra::outside::test
