#pragma once
// A strict reading of a TDB's block run for the tests: every block must lie
// wholly inside the file and the last one must end exactly at its end.

#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

namespace veldra::testing {

struct StrictBlock {
    std::size_t start = 0;
    std::uint8_t type = 0;
    std::size_t length = 0;
};

// Nothing when the run does not end exactly at the end of the file.
inline std::optional<std::vector<StrictBlock>> strictTdbWalk(const std::vector<std::uint8_t>& tdb) {
    std::vector<StrictBlock> blocks;
    std::size_t start = 0;
    while (start < tdb.size()) {
        if (start + 3 > tdb.size()) return std::nullopt;
        const std::size_t length = tdb[start + 1] | static_cast<std::size_t>(tdb[start + 2]) << 8;
        if (start + 3 + length > tdb.size()) return std::nullopt;
        blocks.push_back({start, tdb[start], length});
        start += 3 + length;
    }
    return blocks;
}

inline std::vector<std::uint8_t> blockTypes(const std::vector<StrictBlock>& blocks) {
    std::vector<std::uint8_t> types;
    for (const auto& block : blocks) types.push_back(block.type);
    return types;
}

// The first block of a type; the test fails when there is none.
inline StrictBlock firstBlockOf(const std::vector<StrictBlock>& blocks, std::uint8_t type) {
    for (const auto& block : blocks)
        if (block.type == type) return block;
    ADD_FAILURE() << "no block of type " << int{type};
    return {};
}

}  // namespace veldra::testing
