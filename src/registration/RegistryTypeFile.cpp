#include "registration/RegistryTypeFile.h"

#include "formats/ChecksumAendern.h"
#include "formats/TdbHeader.h"
#include "formats/TdbIdPatch.h"
#include "platform/RegistryPath.h"
#include "registration/HostFiles.h"
#include "registration/RegistryText.h"
#include "registration/TypeFileNames.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// The FID the TDB carries; a TDB whose FID is 0 takes its product number as
// FID (and, converting a Products entry, product number 1). Nothing when the
// TDB cannot be read.
std::optional<std::uint16_t> settleTdbFid(app::Session& session, const fs::path& tdb, bool productBecomesOne) {
    const auto header = formats::readTdbHeader(tdb).header;
    if (!header) return std::nullopt;
    std::uint16_t fid = header->fid;
    if (fid == 0) {
        fid = header->pid;
        if (productBecomesOne && !formats::writeTdbPid(tdb, 1)) return std::nullopt;
    }
    if (!formats::writeTdbFid(tdb, fid)) return std::nullopt;
    formats::ChecksumAendern(tdb, session.dialogs);
    return fid;
}

// The host path of the registry type file: in the folder of the TDB.
std::optional<std::string> typeFileHostPath(const std::string& tdbHost, std::uint16_t fid) {
    const auto slash = tdbHost.rfind('\\');
    if (slash == std::string::npos) return std::nullopt;
    return tdbHost.substr(0, slash + 1) + registryTypeFileName(fid);
}

void reportTdbValueMissing(app::Session& session, const std::string& key) {
    session.dialogs.inform(session.msg(app::Msg::MsgTdbValueMissing) + key);
}

// Moves the file to file + ".bak", replacing an older one; a refused move is
// reported with CloseHostFirst.
void keepAsBackup(app::Session& session, const std::string& hostPath, bool announce) {
    if (!hostFileExists(session, hostPath)) return;
    const fs::path backup = session.host.paths.toNative(hostPath + ".bak");
    std::error_code ec;
    if (hostFileExists(session, hostPath + ".bak")) fs::remove(backup, ec);
    fs::rename(session.host.paths.toNative(hostPath), backup, ec);
    if (ec) session.dialogs.inform(CloseHostFirst, app::DefaultTitle, app::MessageIcon::Critical);
    else if (announce) session.dialogs.inform("old typfile is saved/renamed as " + hostPath + ".bak");
}

// Copies the chosen file beside the TDB and returns the copy's host path.
std::optional<std::string> placeTypeFile(app::Session& session, const RegistryRecord& record, const fs::path& chosen,
                                         bool productBecomesOne, std::uint16_t& fid) {
    const fs::path tdb = session.host.paths.toNative(record.tdb);
    const auto settled = tdb.empty() ? std::nullopt : settleTdbFid(session, tdb, productBecomesOne);
    if (!settled) return std::nullopt;
    fid = *settled;
    auto typHost = typeFileHostPath(record.tdb, fid);
    if (!typHost) return std::nullopt;
    copyStampedTypeFile(session, chosen, session.host.paths.toNative(*typHost), fid);
    return typHost;
}

Outcome attachConvertingProduct(app::Session& session, const RegistryRecord& record, const fs::path& chosen) {
    const std::string productKey = branchKey(session, RecordKind::Products) + record.subkey;
    const std::string familyKey = branchKey(session, RecordKind::Families) + record.subkey;
    std::uint16_t fid = 0;
    const auto typHost = placeTypeFile(session, record, chosen, true, fid);
    if (!typHost) {
        reportTdbValueMissing(session, productKey);
        return Outcome::Failed;
    }
    auto& routines = session.routines;
    routines.ffStringSpeichern(Machine, familyKey, "ID", familyIdText(fid));
    routines.fStringSpeichern(Machine, familyKey, "TYP", *typHost);
    for (const char* name : {"Bmap", "TDB", "Loc"})
        routines.fStringSpeichern(Machine, familyKey + "\\1", name,
                                  trimBlanks(queryRegistryText(session.host.registry, productKey, name).value_or("")));
    routines.fSchluesselLoeschen(Machine, productKey);
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return Outcome::Done;
}

Outcome attachToFamily(app::Session& session, const RegistryRecord& record, const fs::path& chosen) {
    const std::string familyKey = branchKey(session, record.kind) + familyPart(record.subkey);
    const auto typValue = queryRegistryText(session.host.registry, familyKey, "Typ");
    const std::string current = typValue ? trimBlanks(*typValue) : NoTypeFileMarker;
    if (platform::foldCase(current) == platform::foldCase(session.host.paths.toHost(chosen))) {
        session.dialogs.inform(session.msg(app::Msg::MsgTypeFileSameName));
        return Outcome::Failed;
    }
    if (current != NoTypeFileMarker) keepAsBackup(session, current, true);

    std::uint16_t fid = 0;
    const auto typHost = placeTypeFile(session, record, chosen, false, fid);
    if (!typHost) {
        reportTdbValueMissing(session, familyKey);
        return Outcome::Failed;
    }
    session.routines.ffStringSpeichern(Machine, familyKey, "ID", familyIdText(fid));
    session.routines.fStringSpeichern(Machine, familyKey, "TYP", *typHost);
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return Outcome::Done;
}

Outcome detach(app::Session& session, const RegistryRecord& record) {
    const std::string recordKey = record.kind == RecordKind::Products
                                      ? branchKey(session, record.kind) + record.subkey
                                      : branchKey(session, record.kind) + familyPart(record.subkey);
    if (!session.dialogs.ask(session.msg(app::Msg::MsgNoTypeFileContinue))) return Outcome::Declined;
    const auto value = queryRegistryText(session.host.registry, recordKey, "TYP");
    if (!value) return Outcome::Done;
    std::string current = platform::foldCase(trimBlanks(*value));
    if (const auto typ = current.find(".typ"); typ != std::string::npos) current.resize(typ + 4);
    keepAsBackup(session, current, false);
    session.routines.fWerteLoeschen(Machine, recordKey, "TYP");
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileDeleted));
    return Outcome::Done;
}

}  // namespace

Outcome changeRegistryTypeFile(app::Session& session, const RegistryRecord& record,
                               const std::optional<fs::path>& chosen) {
    if (!isTypeFile(chosen)) return detach(session, record);
    return record.kind == RecordKind::Products ? attachConvertingProduct(session, record, *chosen)
                                               : attachToFamily(session, record, *chosen);
}

}  // namespace veldra::registration
