#include "formats/TdbChecksumFile.h"

#include <system_error>

#include "formats/FileSizeLimits.h"
#include "formats/TdbChecksum.h"
#include "platform/AtomicFile.h"

namespace veldra::formats {

std::string unknownTdbFormatMessage() {
    return std::string("unknowm-tdb-format. Please send tdb-file to : ") + SupportAddress + " as email-attachment";
}

ChecksumResult updateTdbChecksum(const std::filesystem::path& tdb) {
    // A missing file has no length either and takes the same path as a short one.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(tdb, ec);
    if (ec || size < TdbMinimumSize) return {ChecksumOutcome::UnknownFormat, {}};

    const auto bytes = platform::readFileCapped(tdb, TdbFileLimit);
    if (!bytes) return {ChecksumOutcome::Failed, bytes.failure().detail};

    const ChecksumUpdate update = checksumUpdate(*bytes);
    if (!update.trailer) return {ChecksumOutcome::NoTrailer, {}};
    if (update.checksum == 0) return {ChecksumOutcome::ZeroChecksum, {}};

    // The checksum bytes are not contiguous: each is written alone, so the
    // bytes between them are never touched.
    for (const BytePatch& patch : update.patches) {
        const std::uint8_t value[] = {patch.value};
        if (auto written = platform::patchFileInPlace(tdb, patch.offset, value); !written)
            return {ChecksumOutcome::Failed, written.error};
    }
    return {ChecksumOutcome::Written, {}};
}

}  // namespace veldra::formats
