#include "formats/ChecksumAendern.h"

#include <system_error>
#include <vector>

#include "formats/TdbChecksum.h"
#include "platform/AtomicFile.h"

namespace veldra::formats {

std::string unknownTdbFormatMessage() {
    return std::string("unknowm-tdb-format. Please send tdb-file to : ") + SupportAddress + " as email-attachment";
}

ChecksumResult ChecksumAendern(const std::filesystem::path& tdb, app::Dialogs& dialogs) {
    // A missing file has no length either and takes the same path as a short one.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(tdb, ec);
    if (ec || size < TdbMinimumSize) {
        dialogs.inform(unknownTdbFormatMessage());
        return {ChecksumOutcome::UnknownFormat, {}};
    }

    std::vector<std::uint8_t> bytes;
    if (auto read = platform::readWholeFile(tdb, bytes); !read) return {ChecksumOutcome::Failed, read.error};

    const ChecksumUpdate update = checksumUpdate(bytes);
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
