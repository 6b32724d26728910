#include "registration/FidChange.h"

#include <filesystem>
#include <optional>

#include "platform/Cp1252.h"
#include "platform/PathText.h"
#include "platform/RegistryPath.h"
#include "registration/FidFileWrites.h"
#include "registration/HostFiles.h"
#include "registration/RegistryText.h"
#include "registration/TypeFileNames.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// The key holding the mapset's ID and TYP values: its family key, or the
// product's own key in the old layout.
std::string mapsetKey(const app::Session& session, const RegistryRecord& record) {
    const std::string branch = branchKey(session, record.kind);
    return record.kind == RecordKind::Products ? branch + record.subkey : branch + familyPart(record.subkey);
}

// The registry type-file name with the extension the FID change gives it:
// FID 1234 gives "2104.Typ".
std::string typeFileNameFor(std::uint16_t fid) {
    return fs::path(registryTypeFileName(fid)).replace_extension(".Typ").string();
}

bool hasExtension(const fs::path& file, std::string_view extension) {
    return platform::foldCase(platform::pathText(file.extension())) == extension;
}

// Everything the change touches, found and checked before the first write.
struct Plan {
    std::string key;
    fs::path tdb;
    std::optional<fs::path> typSource;
    std::string typCopyHost;  // the copy named for the new FID, as the value TYP names it
    std::optional<fs::path> mdx;
};

Result<Plan> plan(app::Session& session, const RegistryRecord& record, std::uint16_t fid) {
    Plan plan;
    plan.key = mapsetKey(session, record);
    if (!hostFileExists(session, record.tdb)) {
        session.dialogs.inform(app::MsgMapDoesNotExist);
        return alreadyShown();
    }
    plan.tdb = session.host.paths.toNative(record.tdb);
    // The values could name any file; only files of the right kind are ever patched.
    if (!hasExtension(plan.tdb, ".tdb"))
        return fail(Msg::MsgRegistryNamesOtherKind, record.tdb + " (.tdb)");
    if (const auto slash = record.typ.rfind('\\'); slash != std::string::npos && hostFileExists(session, record.typ)) {
        plan.typSource = session.host.paths.toNative(record.typ);
        plan.typCopyHost = record.typ.substr(0, slash + 1) + typeFileNameFor(fid);
    }
    const std::string idx = trimBlanks(queryRegistryText(session.host.registry, plan.key, "IDX").value_or(""));
    if (hostFileExists(session, idx)) {
        plan.mdx = session.host.paths.toNative(idx);
        if (!hasExtension(*plan.mdx, ".mdx"))
            return fail(Msg::MsgRegistryNamesOtherKind, idx + " (.mdx)");
    }
    return plan;
}

}  // namespace

Status changeRegistryMapsetFid(app::Session& session, const RegistryRecord& record, std::uint16_t fid,
                               FileBackups& backups) {
    const auto found = plan(session, record, fid);
    if (!found) return found.failure();
    const Plan& p = *found;
    // ID is stored with TYP in one commit after the last file: holding its new value, the registry holds the change.
    const std::string idText = familyIdText(fid);
    const std::string idBytes = platform::utf8ToCp1252(idText);
    if (auto marked = backups.markCommit(
            {Machine, p.key, "ID", platform::RegistryValue::fromBytes({idBytes.begin(), idBytes.end()})});
        !marked)
        return marked;
    if (auto written = writeFidIntoTdb(session, backups, p.tdb, fid); !written) return written;
    if (p.typSource) {
        // The old type file stays as it is; the family takes the copy.
        const fs::path copy = session.host.paths.toNative(p.typCopyHost);
        if (auto copied = copyTypWithFid(backups, *p.typSource, copy, fid); !copied) return copied;
        if (auto stored = session.routines.storeStringVerified(Machine, p.key, "TYP", p.typCopyHost); !stored)
            return stored;
    }
    if (auto stored = session.routines.storeTextAsBinary(Machine, p.key, "ID", idText); !stored)
        return stored;
    if (p.mdx) return writeFidIntoMdx(backups, *p.mdx, fid);
    return {};
}

}  // namespace veldra::registration
