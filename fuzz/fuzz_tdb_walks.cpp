// Every walk over a TDB's blocks: header, checksum, tile list, package writer;
// and the TDB writer: what the walks read, written again, reads back the same.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbPackageWalk.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"
#include "formats/TdbWriter.h"

using namespace veldra::formats;

namespace {

// The mapset as the walks read it: IDs, series name, tiles with their descriptions.
TdbMapset readMapset(ByteView bytes, const TdbHeader& header) {
    TdbMapset mapset;
    mapset.pid = header.pid;
    mapset.fid = header.fid;
    mapset.seriesName = tdbSeriesName(bytes);
    mapset.familyName = mapset.seriesName;
    for (const TdbTile& tile : listTdbTiles(bytes)) mapset.tiles.push_back({tile.number, {}, tile.description, {}});
    return mapset;
}

bool sameMapset(const TdbMapset& a, const TdbMapset& b) {
    if (a.pid != b.pid || a.fid != b.fid || a.seriesName != b.seriesName || a.tiles.size() != b.tiles.size())
        return false;
    for (std::size_t i = 0; i < a.tiles.size(); ++i)
        if (a.tiles[i].number != b.tiles[i].number || a.tiles[i].description != b.tiles[i].description) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);

    if (const auto header = parseTdbHeader(bytes); header && header->nameField.size() > TdbNameFieldLimit) std::abort();
    static_cast<void>(tdbSeriesName(bytes));
    static_cast<void>(packageTileNumbers(bytes));
    for (const TdbTile& tile : listTdbTiles(bytes))
        if (tile.blockOffset + TdbTileMinimumSpan >= size || tile.description.empty()) std::abort();

    // The update never writes past the end, and once applied the checksum holds.
    const ChecksumUpdate update = checksumUpdate(bytes);
    std::vector<std::uint8_t> patched(bytes.begin(), bytes.end());
    for (const BytePatch& patch : update.patches) {
        if (patch.offset >= size || patch.offset <= *update.trailer) std::abort();
        patched[patch.offset] = patch.value;
    }
    if (update.trailer && update.checksum != 0 && checksumMatches(patched) != true) std::abort();
    if (checksumUpdate(patched).patches != update.patches) std::abort();

    const auto header = parseTdbHeader(bytes);
    if (!header) return 0;
    const TdbMapset mapset = readMapset(bytes, *header);
    const TdbBuild built = buildTdb(mapset);
    if (built.bytes.empty()) return 0;  // a text with a zero byte or a block too long for its length field
    const auto again = parseTdbHeader(built.bytes);
    if (!again || !sameMapset(mapset, readMapset(built.bytes, *again)) || checksumMatches(built.bytes) != true)
        std::abort();
    return 0;
}
