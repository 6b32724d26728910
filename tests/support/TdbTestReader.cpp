#include "support/TdbTestReader.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace veldra::testing {
namespace {

class Cursor {
public:
    Cursor(const std::vector<std::uint8_t>& bytes, const StrictBlock& block)
        : bytes_(bytes), at_(block.start + 3), end_(block.start + 3 + block.length) {}
    std::uint32_t number(int width) {
        need(static_cast<std::size_t>(width));
        std::uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes_[at_ + static_cast<std::size_t>(i)];
        at_ += static_cast<std::size_t>(width);
        return value;
    }
    std::int32_t s32() { return static_cast<std::int32_t>(number(4)); }
    std::string text() {
        std::string value;
        for (;;) {
            need(1);
            const char c = static_cast<char>(bytes_[at_++]);
            if (c == '\0') return value;
            value += c;
        }
    }
    void skip(std::size_t n) {
        need(n);
        at_ += n;
    }

private:
    void need(std::size_t n) const {
        if (end_ - at_ < n) throw std::runtime_error("TDB block ends early");
    }
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_;
    std::size_t end_;
};

TdbBox box(Cursor& in) { return {in.s32(), in.s32(), in.s32(), in.s32()}; }

}  // namespace

std::optional<std::vector<StrictBlock>> strictTdbWalk(const std::vector<std::uint8_t>& tdb) {
    std::vector<StrictBlock> blocks;
    std::size_t start = 0;
    while (start < tdb.size()) {
        if (tdb.size() - start < 3) return std::nullopt;
        const std::size_t length = tdb[start + 1] | std::size_t{tdb[start + 2]} << 8;
        if (tdb.size() - start - 3 < length) return std::nullopt;
        blocks.push_back({start, tdb[start], length});
        start += 3 + length;
    }
    return blocks;
}

std::vector<std::uint8_t> blockTypes(const std::vector<StrictBlock>& blocks) {
    std::vector<std::uint8_t> types;
    for (const auto& block : blocks) types.push_back(block.type);
    return types;
}

StrictBlock firstBlockOf(const std::vector<StrictBlock>& blocks, std::uint8_t type) {
    for (const auto& block : blocks)
        if (block.type == type) return block;
    ADD_FAILURE() << "no block of type " << int{type};
    return {};
}

TdbTestFile readTdbForTest(const std::vector<std::uint8_t>& bytes) {
    auto blocks = strictTdbWalk(bytes);
    if (!blocks) throw std::runtime_error("TDB blocks do not end at the end of the file");
    TdbTestFile file;
    file.blocks = *blocks;
    for (const auto& block : file.blocks) {
        Cursor in(bytes, block);
        if (block.type == 'P') {
            file.pid = static_cast<std::uint16_t>(in.number(2));
            file.fid = static_cast<std::uint16_t>(in.number(2));
            file.version = static_cast<std::uint16_t>(in.number(2));
            file.seriesName = in.text();
            in.skip(2);
            file.familyName = in.text();
            in.skip(5 + 4 + 2 + 19);
            file.codePage = in.number(4);
        } else if (block.type == 'B') {
            file.overviewNumber = in.number(4);
            in.skip(4);
            file.overviewBox = box(in);
            file.overviewDescription = in.text();
        } else if (block.type == 'L') {
            TdbTestTile tile;
            tile.number = in.number(4);
            tile.parent = in.number(4);
            tile.box = box(in);
            tile.description = in.text();
            in.skip(2);
            const std::uint32_t count = in.number(2);
            for (std::uint32_t i = 0; i < count; ++i) tile.sizes.push_back(in.number(4));
            in.skip(4 + 3);
            for (std::uint32_t i = 0; i < count; ++i) tile.names.push_back(in.text());
            file.tiles.push_back(tile);
        }
    }
    return file;
}

}  // namespace veldra::testing
