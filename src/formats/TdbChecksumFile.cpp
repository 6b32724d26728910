#include "formats/TdbChecksumFile.h"

#include <system_error>
#include <vector>

#include "formats/FileSizeLimits.h"
#include "formats/LittleEndian.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbHeader.h"
#include "formats/TdbIdPatch.h"
#include "platform/AtomicFile.h"

namespace veldra::formats {

std::string unknownTdbFormatMessage() {
    return std::string("unknowm-tdb-format. Please send tdb-file to : ") + SupportAddress + " as email-attachment";
}

ChecksumResult updateTdbChecksum(const std::filesystem::path& tdb, const TdbIds& ids) {
    // A missing file has no length either and takes the same path as a short one.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(tdb, ec);
    if (ec || size < TdbMinimumSize) {
        if (ids.pid)
            if (auto written = writeTdbPid(tdb, *ids.pid); !written) return {ChecksumOutcome::Failed, written.error};
        if (ids.fid)
            if (auto written = writeTdbFid(tdb, *ids.fid); !written) return {ChecksumOutcome::Failed, written.error};
        return {ChecksumOutcome::UnknownFormat, {}};
    }

    auto read = platform::readFileCapped(tdb, TdbFileLimit);
    if (!read) return {ChecksumOutcome::Failed, read.failure().detail};
    const std::vector<std::uint8_t> original = std::move(read).value();
    std::vector<std::uint8_t> image = original;
    const auto place = [&image](std::size_t offset, std::optional<std::uint16_t> id) {
        if (!id) return;
        const auto bytes = u16Bytes(*id);
        image[offset] = bytes[0];
        image[offset + 1] = bytes[1];
    };
    place(TdbPidOffset, ids.pid);
    place(TdbFidOffset, ids.fid);

    const ChecksumUpdate update = checksumUpdate(image);
    const ChecksumOutcome outcome = !update.trailer         ? ChecksumOutcome::NoTrailer
                                    : update.checksum == 0 ? ChecksumOutcome::ZeroChecksum
                                                           : ChecksumOutcome::Written;
    if (outcome == ChecksumOutcome::Written)
        for (const BytePatch& patch : update.patches) image[patch.offset] = patch.value;
    if (image != original)
        if (auto written = platform::replaceFileAtomically(tdb, image); !written)
            return {ChecksumOutcome::Failed, written.error};
    return {outcome, {}};
}

}  // namespace veldra::formats
