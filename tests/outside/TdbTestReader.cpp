#include "TdbTestReader.h"

#include <stdexcept>

namespace veldra::outside::test {
namespace {

class Cursor {
public:
    Cursor(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end) : bytes_(bytes), at_(at), end_(end) {}
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

TdbTestFile readTdbForTest(const std::vector<std::uint8_t>& bytes) {
    TdbTestFile file;
    std::size_t at = 0;
    while (at + 3 <= bytes.size()) {
        const char type = static_cast<char>(bytes[at]);
        const std::size_t length = bytes[at + 1] | std::size_t{bytes[at + 2]} << 8;
        if (bytes.size() - at - 3 < length) throw std::runtime_error("TDB block overruns the file");
        Cursor in(bytes, at + 3, at + 3 + length);
        file.blockTypes.push_back(type);
        if (type == 'P') {
            file.pid = static_cast<std::uint16_t>(in.number(2));
            file.fid = static_cast<std::uint16_t>(in.number(2));
            file.version = static_cast<std::uint16_t>(in.number(2));
            file.seriesName = in.text();
            in.skip(2);
            file.familyName = in.text();
            in.skip(5 + 4 + 2 + 19);
            file.codePage = in.number(4);
        } else if (type == 'B') {
            file.overviewNumber = in.number(4);
            in.skip(4);
            file.overviewBox = box(in);
            file.overviewDescription = in.text();
        } else if (type == 'L') {
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
        at += 3 + length;
    }
    if (at != bytes.size()) throw std::runtime_error("TDB ends inside a block prefix");
    return file;
}

}  // namespace veldra::outside::test
