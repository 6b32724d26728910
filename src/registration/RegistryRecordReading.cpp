#include "registration/RegistryRecordReading.h"

#include "formats/TdbHeader.h"
#include "platform/Cp1252.h"
#include "registration/CatalogEnumeration.h"
#include "registration/HostFiles.h"

namespace veldra::registration {
namespace {

void markMissing(RegistryRecord& record, const char* marker) {
    record.name = marker;
    record.fid = FidErrorMarker;
    record.pid = PidErrorMarker;
}

void describeFromTdb(const app::Session& session, RegistryRecord& record) {
    // The header read tells whether the TDB is there: no look at its path before.
    const platform::FileStart tdb = session.host.paths.existingNativeFileStart(record.tdb, formats::TdbHeaderReadSize);
    if (tdb.state == platform::FileStart::State::NoFile) {
        markMissing(record, TdbMissingMarker);
        return;
    }
    if (!hostFileExists(session, record.overview)) {
        markMissing(record, OverviewMissingMarker);
        return;
    }
    // A file too short for the header (or unreadable) reads as zeros, as a
    // binary read past the end of the file does.
    const auto header = formats::parseTdbHeader(tdb.bytes).value_or(formats::TdbHeader{});
    record.name = platform::cp1252ToUtf8(header.nameField);
    record.fid = std::to_string(header.fid != 0 ? header.fid : header.pid);
    record.pid = std::to_string(header.pid);
}

}  // namespace

std::vector<RegistryRecord> readRegistryRecords(app::Session& session) {
    std::vector<RegistryRecord> records = enumerateRegistryRecords(session);
    for (RegistryRecord& record : records) describeFromTdb(session, record);
    platform::sortByCp1252(records, [](const RegistryRecord& record) -> const std::string& { return record.name; });
    return records;
}

}  // namespace veldra::registration
