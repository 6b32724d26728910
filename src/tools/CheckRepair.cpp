#include "tools/CheckRepair.h"

#include <algorithm>

#include "app/RegistryEdit.h"
#include "formats/TdbChecksumFile.h"
#include "formats/TypStamp.h"
#include "platform/AtomicFile.h"
#include "platform/PathText.h"
#include "registration/FileBackups.h"
#include "registration/RegistryRecordReading.h"
#include "tools/CheckInstalledMapsets.h"
#include "tools/CheckRegistryLayout.h"
#include "tools/CheckSession.h"

namespace veldra::tools {
namespace fs = std::filesystem;
namespace {

using registration::FileBackups;

Status fromFileResult(const platform::FileResult& result) {
    if (result) return {};
    return fail(result.error);
}

Status rewriteChecksum(const app::Session& session, CheckFinding& finding, FileBackups& backups) {
    fs::path backup = finding.file;
    backup += "-BAK";
    if (auto kept = backups.keep(finding.file); !kept) return kept;
    if (auto kept = backups.keep(backup); !kept) return kept;
    std::vector<std::uint8_t> bytes;
    if (auto read = fromFileResult(platform::readWholeFile(finding.file, bytes)); !read) return read;
    if (auto copied = fromFileResult(platform::replaceFileAtomically(backup, bytes)); !copied) return copied;
    const auto updated = formats::updateTdbChecksum(finding.file);
    if (updated.outcome != formats::ChecksumOutcome::Written)
        return fail(updated.error.empty() ? formats::unknownTdbFormatMessage() : updated.error);
    finding.detail += "; " + session.msg(Msg::MsgBackupCreated) + platform::pathText(backup);
    return {};
}

Status removeLink(const CheckFinding& finding, FileBackups& backups) {
    if (auto kept = backups.keep(finding.file); !kept) return kept;
    std::error_code ec;
    if (!fs::remove(finding.file, ec) || ec) return fail("Cannot delete " + platform::pathText(finding.file));
    return {};
}

Status repairFile(const app::Session& session, CheckFinding& finding, FileBackups& backups) {
    switch (finding.kind) {
        case CheckKind::TdbChecksumWrong: return rewriteChecksum(session, finding, backups);
        case CheckKind::TypeFileFidWrong:
            if (auto kept = backups.keep(finding.file); !kept) return kept;
            return fromFileResult(formats::writeTypFid(finding.file, finding.stampFid));
        case CheckKind::DeadLink: return removeLink(finding, backups);
        default: return {};
    }
}

bool isLayout(const CheckFinding& finding) {
    return finding.kind == CheckKind::WrongBranch || finding.kind == CheckKind::MisplacedLayout;
}

// The catalog reading repairs misplaced layouts itself when the user agrees;
// here it is told yes. Those still found afterwards could not be repaired.
Status repairMisplacedLayouts(const app::Session& session, const std::vector<CheckFinding>& findings,
                              std::vector<CheckFinding>& repaired) {
    const auto misplaced = [](const CheckFinding& f) { return f.kind == CheckKind::MisplacedLayout; };
    if (std::none_of(findings.begin(), findings.end(), misplaced)) return {};
    QuietSession agreeing(session, true);
    registration::readRegistryRecords(agreeing.session);
    const auto left = findMisplacedLayouts(session);
    for (const CheckFinding& finding : findings) {
        if (!misplaced(finding)) continue;
        const bool stays = std::any_of(left.begin(), left.end(), [&](const CheckFinding& l) { return l.key == finding.key; });
        if (stays) return fail(agreeing.dialogs.messages.empty() ? finding.detail : agreeing.dialogs.messages.back());
        repaired.push_back(finding);
    }
    return {};
}

}  // namespace

Result<std::vector<CheckFinding>> repairFindings(app::Session& session, const std::vector<CheckFinding>& findings) {
    std::vector<CheckFinding> repaired;
    if (std::none_of(findings.begin(), findings.end(), [](const CheckFinding& f) { return f.repairable; }))
        return repaired;
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    FileBackups backups;
    auto undo = [&](const Failure& cause) -> Failure {
        if (auto restored = backups.restoreAll(); !restored) return fail(cause.detail + "\n" + restored.failure().detail);
        return cause;
    };
    // The keys first: a mapset they bring back into view is checked again, so
    // that its files are repaired in the same go.
    for (const CheckFinding& finding : findings) {
        if (!finding.repairable || finding.kind != CheckKind::WrongBranch) continue;
        if (auto moved = moveToHostRoot(session, finding); !moved) return moved.failure();
        repaired.push_back(finding);
    }
    if (auto moved = repairMisplacedLayouts(session, findings, repaired); !moved) return moved.failure();
    const auto files = repaired.empty() ? findings : inspectInstalledMapsets(session);
    for (CheckFinding finding : files) {
        if (!finding.repairable || isLayout(finding)) continue;
        if (auto done = repairFile(session, finding, backups); !done) return undo(done.failure());
        repaired.push_back(std::move(finding));
    }
    if (auto committed = edit->commit(); !committed) return undo(committed.failure());
    return repaired;
}

}  // namespace veldra::tools
