#include "formats/TdbRename.h"

#include <algorithm>
#include <array>
#include <limits>

#include "formats/TdbBlocks.h"
#include "formats/TdbHeader.h"

namespace veldra::formats {
namespace {

inline constexpr std::uint16_t FirstVersionWithChecksum = 301;

struct KeptBlocks {
    // Header, 0x52 and overview block, each the first of its type; a block cut
    // short by the end of the file is taken as far as it goes.
    std::array<std::optional<ByteView>, 3> blocks;
    bool trailerSeen = false;
};

std::size_t keptIndex(std::uint8_t type) {
    switch (type) {
        case TdbHeaderBlock: return 0;
        case TdbNameBlock: return 1;
        case TdbOverviewBlock: return 2;
        default: return 3;
    }
}

// Walks from offset 0 while the next block's length field lies wholly inside the file.
KeptBlocks keepBlocks(ByteView tdb) {
    KeptBlocks kept;
    for (std::size_t start = 0; start + 2 < tdb.size();) {
        const std::size_t next = start + TdbBlockPrefix + *u16At(tdb, start + 1);
        const std::size_t index = keptIndex(tdb[start]);
        if (index < kept.blocks.size() && !kept.blocks[index])
            kept.blocks[index] = tdb.subspan(start, std::min(next, tdb.size()) - start);
        if (tdb[start] == TdbTrailerBlock) kept.trailerSeen = true;
        start = next;
    }
    return kept;
}

std::string seriesNameOf(ByteView header) {
    if (header.size() <= TdbNameOffset) return {};
    const auto name = header.subspan(TdbNameOffset);
    return {name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0})};
}

// Every occurrence, left to right, without overlaps (an empty name replaces nothing).
std::vector<std::uint8_t> replaceAll(ByteView data, std::string_view from, std::string_view to) {
    std::vector<std::uint8_t> out;
    if (from.empty()) return {data.begin(), data.end()};
    auto cursor = data.begin();
    for (;;) {
        const auto hit = std::search(cursor, data.end(), from.begin(), from.end(),
                                     [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
        out.insert(out.end(), cursor, hit);
        if (hit == data.end()) return out;
        for (const char c : to) out.push_back(static_cast<std::uint8_t>(c));
        cursor = hit + static_cast<std::ptrdiff_t>(from.size());
    }
}

std::optional<std::vector<std::uint8_t>> rebuiltBlock(ByteView block, std::string_view from, std::string_view to) {
    const std::vector<std::uint8_t> data = replaceAll(block.subspan(TdbBlockPrefix), from, to);
    if (data.size() > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    const auto length = u16Bytes(static_cast<std::uint16_t>(data.size()));
    std::vector<std::uint8_t> rebuilt{block[0], length[0], length[1]};
    rebuilt.insert(rebuilt.end(), data.begin(), data.end());
    return rebuilt;
}

void replaceFirst(std::vector<std::uint8_t>& image, ByteView from, const std::vector<std::uint8_t>& to) {
    const auto hit = std::search(image.begin(), image.end(), from.begin(), from.end());
    if (hit == image.end()) return;
    image.insert(image.erase(hit, hit + static_cast<std::ptrdiff_t>(from.size())), to.begin(), to.end());
}

}  // namespace

std::string tdbSeriesName(ByteView tdb) {
    const auto header = keepBlocks(tdb).blocks[0];
    return header ? seriesNameOf(*header) : std::string{};
}

std::optional<RenamedTdb> renameTdbImage(ByteView tdb, std::string_view newName) {
    const KeptBlocks kept = keepBlocks(tdb);
    RenamedTdb renamed;
    renamed.checksumNeeded = u16At(tdb, TdbVersionOffset).value_or(0) >= FirstVersionWithChecksum || kept.trailerSeen;
    renamed.image.assign(tdb.begin(), tdb.end());
    const std::string oldName = kept.blocks[0] ? seriesNameOf(*kept.blocks[0]) : std::string{};
    for (const auto& block : kept.blocks) {
        if (!block) continue;
        const auto rebuilt = rebuiltBlock(*block, oldName, newName);
        if (!rebuilt) return std::nullopt;
        replaceFirst(renamed.image, *block, *rebuilt);
    }
    return renamed;
}

}  // namespace veldra::formats
