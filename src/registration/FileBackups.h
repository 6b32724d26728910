#pragma once
// Copies of the files a change is about to touch, so that a change that fails
// halfway puts every one of them back as it was. With a journal, the copies
// are also on disk before the first file is touched, so that a change cut
// short by a kill is finished or undone by the next run (ChangeJournal.h).
// From its first write until it is gone, the journal's lock file tells other
// runs that its change still runs: past its registry commit, a change no
// longer holds the registry's lock, but its journal is still there.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Result.h"
#include "platform/FileLock.h"
#include "platform/Registry.h"

namespace veldra::registration {

struct FileCopy {
    std::filesystem::path file;
    std::optional<std::vector<std::uint8_t>> bytes;  // nothing: the file did not exist
};

// The registry value a change stores together with all its other values, in
// one commit after its last file: found in the registry, it tells that the
// change was complete.
struct CommitMark {
    platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
    std::string key;
    std::string name;
    platform::RegistryValue value;
};

// What a journal holds.
struct JournalContents {
    std::optional<CommitMark> commit;
    std::vector<FileCopy> copies;
};

class FileBackups {
public:
    FileBackups() = default;
    // Keeps the copies in the journal file too (no journal when it is empty).
    explicit FileBackups(std::filesystem::path journal) : journal_(std::move(journal)) {}

    // Takes the journal's lock unless this object holds it already.
    // HeldElsewhere: the journal belongs to a change that still runs.
    platform::FileLock::State holdJournal();
    // Takes over a journal left on disk, once its lock is held.
    void resume(JournalContents contents) { kept_ = std::move(contents); }

    // Names the value whose commit completes the change; written to the
    // journal before any file is touched.
    Status markCommit(CommitMark mark);

    // Keeps the file's bytes, or that there is no such file, the first time it
    // is named; a file that cannot be read fails before anything is touched.
    // With a journal, returns only after the journal holds the copy.
    Status keep(const std::filesystem::path& file);

    // Puts back every kept file that no longer matches its copy, the last kept
    // first: a file that did not exist is removed again. The failure names
    // every file that could not be put back.
    Status restoreAll() const;

    // The change is complete, or undone: its journal goes, then its lock. A
    // journal this object neither wrote nor took over stays.
    Status closeJournal();

    // Nothing was kept: no file has been touched.
    bool empty() const { return kept_.copies.empty(); }

private:
    Status writeJournal();

    std::filesystem::path journal_;
    JournalContents kept_;
    std::optional<platform::FileLock> running_;
};

}  // namespace veldra::registration
