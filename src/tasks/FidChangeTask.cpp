#include "tasks/FidChangeTask.h"

#include "app/FailureText.h"
#include "app/RegistryEdit.h"
#include "registration/ChangeJournal.h"
#include "registration/FidChange.h"
#include "registration/NewFid.h"
#include "tasks/TaskChecks.h"

namespace veldra::tasks {
namespace {

using registration::FileBackups;

// After a failed change, whose registry changes its edit drops: every
// touched file goes back, and the user learns that nothing changed, and why. A
// journal whose files could not all go back stays, for the next run to try again.
Failure undo(const app::Session& session, FileBackups& backups, const Failure& cause) {
    if (backups.empty()) {
        (void)backups.closeJournal();
        return cause;
    }
    if (auto restored = backups.restoreAll(); !restored) return fail(Msg::MsgFidRestoreFailed, restored.failure().detail);
    (void)backups.closeJournal();
    const std::string reason = cause.kind == FailureKind::Error ? app::describeFailure(cause, session.catalog) : "";
    return fail(Msg::MsgFidChangeUndone, reason.empty() ? reason : "\n" + reason);
}

}  // namespace

Status changeFid(app::Session& session, const FidChangeRequest& request) {
    const auto fid = registration::parseNewFid(request.newFid);
    if (!fid) return fid.failure();
    if (auto readable = registryReadable(session); !readable) return readable;
    registration::InstalledCatalog catalog;
    catalog.rebuild(session);
    const auto entry = chooseMapset(catalog, request.mapset);
    if (!entry) return entry.failure();
    if (registration::fidInUse(catalog, *fid)) {
        session.dialogs.inform(session.msg(Msg::MsgFidInUse), app::DefaultTitle, app::MessageIcon::Information);
        return alreadyShown();
    }
    // The registry values go into one edit, stored only after every file is
    // written. The edit's lock on the prefix is held from the journal's first
    // write on, a package's change included, so that no other run takes the
    // journal of a running change for one cut short.
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    // On disk before the first file changes, so that a run cut short is finished or undone by the next.
    FileBackups backups(registration::changeJournalPath(session));
    const Status changed =
        entry->package
            ? registration::changeGmapPackageFid(session, catalog.packages.records[entry->index], *fid, backups)
            : registration::changeRegistryMapsetFid(session, catalog.registry[entry->index], *fid, backups);
    if (!changed) return undo(session, backups, changed.failure());
    // Nothing in the registry tells that a package's change is complete: its journal goes while the lock is held.
    if (entry->package) return backups.closeJournal();
    // The commit ends the registry's lock just before the journal goes; the
    // journal's own lock keeps a run that finds it meanwhile from taking it.
    if (auto committed = edit->commit(); !committed) return undo(session, backups, committed.failure());
    return backups.closeJournal();
}

}  // namespace veldra::tasks
