#include "registration/RegistryTypeFile.h"

#include "formats/TdbChecksumFile.h"
#include "formats/TdbHeader.h"
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
    formats::TdbIds ids{.pid = std::nullopt, .fid = header->fid};
    if (header->fid == 0) {
        ids.fid = header->pid;
        if (productBecomesOne) ids.pid = 1;
    }
    const auto written = formats::updateTdbChecksum(tdb, ids);
    if (written.outcome == formats::ChecksumOutcome::Failed) return std::nullopt;
    if (written.outcome == formats::ChecksumOutcome::UnknownFormat)
        session.dialogs.inform(formats::unknownTdbFormatMessage());
    return ids.fid;
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

// Copies the file to file + ".bak", replacing an older one, and names it in
// `superseded`; a refused copy is reported with CloseHostFirst and stops the
// change. Only a type file is ever kept so: the value comes from the registry
// and could name any file.
Status keepAsBackup(app::Session& session, const std::string& hostPath, bool announce,
                    std::vector<fs::path>& superseded) {
    if (!hostFileExists(session, hostPath)) return {};
    const fs::path file = session.host.paths.toNative(hostPath);
    if (platform::foldCase(file.extension().string()) != ".typ")
        return fail("The type file value " + hostPath + " does not name a type file (.typ); nothing was changed.");
    const fs::path backup = session.host.paths.toNative(hostPath + ".bak");
    std::error_code ec;
    if (hostFileExists(session, hostPath + ".bak")) fs::remove(backup, ec);
    fs::copy_file(file, backup, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        session.dialogs.inform(CloseHostFirst, app::DefaultTitle, app::MessageIcon::Critical);
        return alreadyShown();
    }
    superseded.push_back(file);
    if (announce) session.dialogs.inform("old typfile is saved/renamed as " + hostPath + ".bak");
    return {};
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

// The product's values move into a new family; the product key goes only once
// every value of the family is stored and reads back.
Status attachConvertingProduct(app::Session& session, const RegistryRecord& record, const fs::path& chosen) {
    const std::string productKey = branchKey(session, RecordKind::Products) + record.subkey;
    const std::string familyKey = branchKey(session, RecordKind::Families) + record.subkey;
    std::uint16_t fid = 0;
    const auto typHost = placeTypeFile(session, record, chosen, true, fid);
    if (!typHost) {
        reportTdbValueMissing(session, productKey);
        return alreadyShown();
    }
    auto& routines = session.routines;
    if (auto stored = routines.storeTextAsBinary(Machine, familyKey, "ID", familyIdText(fid)); !stored) return stored;
    if (auto stored = routines.storeStringVerified(Machine, familyKey, "TYP", *typHost); !stored) return stored;
    for (const char* name : {"Bmap", "TDB", "Loc"}) {
        const auto value = trimBlanks(queryRegistryText(session.host.registry, productKey, name).value_or(""));
        if (auto stored = routines.storeStringVerified(Machine, familyKey + "\\1", name, value); !stored)
            return stored;
    }
    if (auto removed = routines.deleteKey(Machine, productKey); !removed) return removed;
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return {};
}

Status attachToFamily(app::Session& session, const RegistryRecord& record, const fs::path& chosen,
                      std::vector<fs::path>& superseded) {
    const std::string familyKey = branchKey(session, record.kind) + familyPart(record.subkey);
    const auto typValue = queryRegistryText(session.host.registry, familyKey, "Typ");
    const std::string current = typValue ? trimBlanks(*typValue) : NoTypeFileMarker;
    if (platform::foldCase(current) == platform::foldCase(session.host.paths.toHost(chosen))) {
        session.dialogs.inform(session.msg(app::Msg::MsgTypeFileSameName));
        return alreadyShown();
    }
    if (current != NoTypeFileMarker) {
        if (auto kept = keepAsBackup(session, current, true, superseded); !kept) return kept;
    }

    std::uint16_t fid = 0;
    const auto typHost = placeTypeFile(session, record, chosen, false, fid);
    if (!typHost) {
        reportTdbValueMissing(session, familyKey);
        return alreadyShown();
    }
    // The new copy took the old one's place: it stays.
    if (platform::foldCase(*typHost) == platform::foldCase(current)) superseded.clear();
    if (auto stored = session.routines.storeTextAsBinary(Machine, familyKey, "ID", familyIdText(fid)); !stored)
        return stored;
    if (auto stored = session.routines.storeStringVerified(Machine, familyKey, "TYP", *typHost); !stored)
        return stored;
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileChanged));
    return {};
}

Status detach(app::Session& session, const RegistryRecord& record, std::vector<fs::path>& superseded) {
    const std::string recordKey = record.kind == RecordKind::Products
                                      ? branchKey(session, record.kind) + record.subkey
                                      : branchKey(session, record.kind) + familyPart(record.subkey);
    if (!session.dialogs.ask(session.msg(app::Msg::MsgNoTypeFileContinue))) return declined();
    const auto value = queryRegistryText(session.host.registry, recordKey, "TYP");
    if (!value) return {};
    std::string current = platform::foldCase(trimBlanks(*value));
    if (const auto typ = current.find(".typ"); typ != std::string::npos) current.resize(typ + 4);
    if (auto kept = keepAsBackup(session, current, false, superseded); !kept) return kept;
    if (auto removed = session.routines.deleteValue(Machine, recordKey, "TYP"); !removed) return removed;
    session.dialogs.inform(session.msg(app::Msg::MsgTypeFileDeleted));
    return {};
}

}  // namespace

Status changeRegistryTypeFile(app::Session& session, const RegistryRecord& record,
                               const std::optional<fs::path>& chosen, std::vector<fs::path>& superseded) {
    if (!isTypeFile(chosen)) return detach(session, record, superseded);
    return record.kind == RecordKind::Products ? attachConvertingProduct(session, record, *chosen)
                                               : attachToFamily(session, record, *chosen, superseded);
}

}  // namespace veldra::registration
