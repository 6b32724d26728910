#include "formats/TdbStructure.h"

#include "formats/FileSizeLimits.h"
#include "formats/TdbBlocks.h"
#include "formats/TdbHeader.h"
#include "platform/CappedFileRead.h"
#include "platform/PathText.h"

namespace veldra::formats {

bool isTdbBlockRun(ByteView bytes) {
    const auto headerLength = u16At(bytes, 1);
    if (!headerLength || bytes[0] != TdbHeaderBlock || TdbBlockPrefix + *headerLength < TdbNameOffset) return false;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto length = u16At(bytes, at + 1);
        if (!length) return false;
        at += TdbBlockPrefix + *length;
    }
    return at == bytes.size();
}

Status checkTdbFile(const std::filesystem::path& tdb) {
    const auto bytes = platform::readFileCapped(tdb, TdbFileLimit);
    if (!bytes) return bytes.failure();
    if (!isTdbBlockRun(*bytes)) return fail("Not a TDB file: " + platform::pathText(tdb));
    return {};
}

}  // namespace veldra::formats
