// Every walk over a TDB's blocks: header, checksum, tile list, package writer.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbPackageWalk.h"
#include "formats/TdbRename.h"
#include "formats/TdbTileList.h"

using namespace veldra::formats;

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
    return 0;
}
