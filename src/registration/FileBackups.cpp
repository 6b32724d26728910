#include "registration/FileBackups.h"

#include <algorithm>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/CappedFileRead.h"
#include "platform/FileSync.h"
#include "platform/PathText.h"
#include "registration/ChangeJournal.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

bool matches(const fs::path& file, const std::optional<std::vector<std::uint8_t>>& bytes) {
    std::error_code ec;
    if (!bytes) return !fs::exists(file, ec) && !ec;
    const auto now = platform::readFileCapped(file, BackupLimit);
    return now && *now == *bytes;
}

// Nothing when the file is as it was; else why it could not be put back.
std::optional<std::string> putBack(const fs::path& file, const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (matches(file, bytes)) return std::nullopt;
    if (!bytes) {
        std::error_code ec;
        fs::remove(file, ec);
        if (!ec) return std::nullopt;
        return "cannot remove " + platform::pathText(file) + ": " + ec.message();
    }
    // Replaced whole, the file keeps its access rights.
    if (auto written = platform::replaceFileAtomically(file, *bytes); !written) return written.error;
    return std::nullopt;
}

}  // namespace

Status FileBackups::markCommit(CommitMark mark) {
    kept_.commit = std::move(mark);
    return writeJournal();
}

Status FileBackups::keep(const fs::path& file) {
    auto& copies = kept_.copies;
    if (std::any_of(copies.begin(), copies.end(), [&](const FileCopy& copy) { return copy.file == file; })) return {};
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        if (ec) return fail("cannot look for " + platform::pathText(file) + ": " + ec.message());
        copies.push_back({file, std::nullopt});
        return writeJournal();
    }
    auto bytes = platform::readFileCapped(file, BackupLimit);
    if (!bytes) return bytes.failure();
    copies.push_back({file, std::move(bytes).value()});
    return writeJournal();
}

Status FileBackups::restoreAll() const {
    std::string problems;
    for (auto copy = kept_.copies.rbegin(); copy != kept_.copies.rend(); ++copy)
        if (const auto problem = putBack(copy->file, copy->bytes)) problems += (problems.empty() ? "" : "\n") + *problem;
    if (problems.empty()) return {};
    return fail(problems);
}

platform::FileLock::State FileBackups::holdJournal() {
    if (running_ || journal_.empty()) return platform::FileLock::State::Held;
    running_.emplace(journalLockPath(journal_));
    const auto state = running_->state();
    if (state != platform::FileLock::State::Held) running_.reset();
    return state;
}

Status FileBackups::writeJournal() {
    if (journal_.empty()) return {};
    std::error_code ec;
    fs::create_directories(journal_.parent_path(), ec);
    switch (holdJournal()) {
        case platform::FileLock::State::Held: break;
        case platform::FileLock::State::HeldElsewhere: return fail(Msg::MsgRegistryBusy);
        case platform::FileLock::State::Failed:
            return fail(Msg::MsgRegistryNotLockable, platform::pathText(journalLockPath(journal_)));
    }
    if (auto written = platform::replaceFileAtomically(journal_, journalBytes(kept_)); !written)
        return fail(written.error);
    // The journal must be on the disk before the file it covers changes.
    if (!platform::flushDirectoryToDisk(journal_.parent_path()))
        return fail("cannot flush " + platform::pathText(journal_.parent_path()) + " to disk");
    return {};
}

Status FileBackups::closeJournal() {
    // A journal whose lock this object does not hold is not its own.
    if (!running_) return {};
    std::error_code ec;
    if (!fs::remove(journal_, ec) && ec) return fail("cannot remove " + platform::pathText(journal_) + ": " + ec.message());
    running_.reset();
    return {};
}

}  // namespace veldra::registration
