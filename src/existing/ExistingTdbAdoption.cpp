#include "existing/ExistingTdbAdoption.h"

#include <algorithm>

#include "formats/TdbChecksumFile.h"
#include "formats/TdbHeader.h"
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

    formats::TdbIds ids;
    if (header.fid == 0 || header.pid == 0) {
        if (header.fid == 0) ids.fid = adopted.fid = header.pid;
        ids.pid = adopted.pid = 1;
    }
    const auto checksum = formats::updateTdbChecksum(tdb, ids);
    if (checksum.outcome == formats::ChecksumOutcome::Failed) return fail(checksum.error);
    if (checksum.outcome == formats::ChecksumOutcome::UnknownFormat) return fail(formats::unknownTdbFormatMessage());
    return adopted;
}

}  // namespace veldra::existing
