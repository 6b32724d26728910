// The index file and type file readers.

#include <cstdint>
#include <cstdlib>

#include "formats/MdxStamp.h"
#include "formats/TypStamp.h"

using namespace veldra::formats;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    const MdxRead mdx = parseMdx(bytes);
    if (mdx.records && MdxFirstRecord + MdxRecordSize * mdx.records->size() > size) std::abort();
    if (!mdx.records && mdx.error.empty()) std::abort();
    if (parseTypIds(bytes).has_value() && size < TypPidOffset + 2) std::abort();
    return 0;
}
