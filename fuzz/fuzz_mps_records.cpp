// The MPS records: whatever is accepted is records followed by zero padding,
// and writing the records gives those bytes back.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/MpsRecords.h"

using namespace veldra::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    const MpsRead read = parseMps(bytes);
    if (!read.contents) {
        if (read.error.empty()) std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> written = serializeMps(read.contents->records);
    if (written.size() > size || !std::equal(written.begin(), written.end(), bytes.begin())) std::abort();
    if (std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(written.size()), bytes.end(),
                    [](std::uint8_t b) { return b != 0; }))
        std::abort();
    for (const MpsRecord& record : read.contents->records)
        if (record.type == 0) std::abort();
    const MpsRead again = parseMps(written);
    if (!again.contents || again.contents->tiles.size() != read.contents->tiles.size() ||
        again.contents->families.size() != read.contents->families.size())
        std::abort();
    return 0;
}
