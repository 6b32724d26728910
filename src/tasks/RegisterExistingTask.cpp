#include "tasks/RegisterExistingTask.h"

#include <system_error>

#include "app/RegistryEdit.h"
#include "formats/TdbHeader.h"
#include "formats/TdbStructure.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {

namespace {

// The FID the mapset will carry, known before anything is written: the one
// given, else the TDB's own (a TDB without one gives its PID). Nothing for a
// file that is no TDB: the registration's own checks name that.
std::string fidToRegister(const existing::ExistingMapset& mapset) {
    if (!formats::checkTdbFile(mapset.tdb)) return {};
    if (!mapset.fid.empty()) return mapset.fid;
    const auto read = formats::readTdbHeader(mapset.tdb);
    if (!read.header) return {};
    return std::to_string(read.header->fid != 0 ? read.header->fid : read.header->pid);
}

// Stamping a TDB that another registration points at would change that
// mapset's IDs and name behind its back.
Status checkTdbIsFree(const app::Session& session, const registration::InstalledCatalog& catalog,
                      const std::filesystem::path& tdb) {
    std::error_code ec;
    for (const auto& record : catalog.registry)
        if (!record.tdb.empty() && std::filesystem::equivalent(session.host.paths.toNative(record.tdb), tdb, ec))
            return fail(Msg::MsgTdbAlreadyRegistered, record.shownName() + " (FID " + record.fid + ")");
    return {};
}

}  // namespace

Result<existing::RegisteredMapset> registerExisting(app::Session& session, const RegisterExistingRequest& request,
                                                    const Progress& progress) {
    if (auto readable = registryReadable(session); !readable) return readable.failure();
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();

    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    if (auto free = checkTdbIsFree(session, catalog, request.mapset.tdb); !free) return free.failure();
    if (const std::string fid = fidToRegister(request.mapset);
        !fid.empty() && app::fidInUse(fid, namesInUse(catalog), session.dialogs, session.catalog))
        return alreadyShown();
    auto registered = existing::registerExistingMapset(session, request.mapset, request.install, progress);
    if (!registered) return registered.failure();
    if (auto committed = edit->commit(); !committed) return committed.failure();
    return registered;
}

}  // namespace veldra::tasks
