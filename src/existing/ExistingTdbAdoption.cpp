#include "existing/ExistingTdbAdoption.h"

#include <algorithm>

#include "formats/TdbChecksumFile.h"
#include "formats/TdbHeader.h"
#include "formats/TdbIdPatch.h"
#include "platform/Cp1252.h"

namespace veldra::existing {

Result<AdoptedTdb> adoptExistingTdb(const std::filesystem::path& tdb) {
    const auto read = formats::readTdbHeader(tdb);
    if (!read.header) return fail(read.error);
    const formats::TdbHeader& header = *read.header;
    std::string keyName = header.nameField;
    std::replace(keyName.begin(), keyName.end(), ' ', '_');
    std::replace(keyName.begin(), keyName.end(), '\0', '_');
    AdoptedTdb adopted{platform::cp1252ToUtf8(header.shownName()), platform::cp1252ToUtf8(keyName), header.fid,
                       header.pid};

    if (header.fid == 0 || header.pid == 0) {
        if (header.fid == 0) {
            adopted.fid = header.pid;
            if (auto written = formats::writeTdbFid(tdb, header.pid); !written) return fail(written.error);
        }
        adopted.pid = 1;
        if (auto written = formats::writeTdbPid(tdb, 1); !written) return fail(written.error);
    }
    const auto checksum = formats::updateTdbChecksum(tdb);
    if (checksum.outcome == formats::ChecksumOutcome::Failed) return fail(checksum.error);
    if (checksum.outcome == formats::ChecksumOutcome::UnknownFormat) return fail(formats::unknownTdbFormatMessage());
    return adopted;
}

}  // namespace veldra::existing
