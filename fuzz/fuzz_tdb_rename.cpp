// The renaming of a TDB image: the first byte gives the length of the new
// name, the name follows, the rest is the TDB.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/TdbChecksum.h"
#include "formats/TdbRename.h"

using namespace veldra::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0], size - 1);
    const std::string newName(data + 1, data + 1 + nameLength);
    const ByteView tdb(data + 1 + nameLength, size - 1 - nameLength);

    const auto renamed = renameTdbImage(tdb, newName);
    if (!renamed) return 0;
    // Renaming to the name the file already has keeps its size.
    const auto same = renameTdbImage(tdb, tdbSeriesName(tdb));
    if (!same || same->image.size() != tdb.size()) std::abort();

    // The checksum update as the renaming routine runs it on the new image.
    auto image = renamed->image;
    const ChecksumUpdate update = checksumUpdate(image);
    for (const BytePatch& patch : update.patches) {
        if (patch.offset >= image.size()) std::abort();
        image[patch.offset] = patch.value;
    }
    if (update.trailer && update.checksum != 0 && checksumMatches(image) != true) std::abort();
    return 0;
}
