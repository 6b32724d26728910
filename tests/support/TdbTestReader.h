#pragma once
// An independent reading of TDB files for the tests: the strict block run
// (every block wholly inside the file, the last one ending exactly at its end)
// and the header, overview and tile blocks as mkgmap writes them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veldra::testing {

struct StrictBlock {
    std::size_t start = 0;  // of the type byte
    std::uint8_t type = 0;
    std::size_t length = 0;  // of the body
};

// Nothing when the run does not end exactly at the end of the file.
std::optional<std::vector<StrictBlock>> strictTdbWalk(const std::vector<std::uint8_t>& tdb);

std::vector<std::uint8_t> blockTypes(const std::vector<StrictBlock>& blocks);

// The first block of a type; the test fails when there is none.
StrictBlock firstBlockOf(const std::vector<StrictBlock>& blocks, std::uint8_t type);

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
    std::vector<StrictBlock> blocks;
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

}  // namespace veldra::testing
