#include "formats/TdbIdPatch.h"

#include "formats/LittleEndian.h"
#include "formats/TdbHeader.h"

namespace veldra::formats {

platform::FileResult writeTdbFid(const std::filesystem::path& tdb, std::uint16_t fid) {
    return platform::patchFileInPlace(tdb, TdbFidOffset, u16Bytes(fid));
}

platform::FileResult writeTdbPid(const std::filesystem::path& tdb, std::uint16_t pid) {
    return platform::patchFileInPlace(tdb, TdbPidOffset, u16Bytes(pid));
}

}  // namespace veldra::formats
