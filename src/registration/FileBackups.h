#pragma once
// Copies of the files a change is about to touch, so that a change that fails
// halfway puts every one of them back as it was. With a journal, the copies
// are also on disk before the first file is touched, so that a change cut
// short by a kill is finished or undone by the next run (ChangeJournal.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Result.h"
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
    // Keeps the copies in the journal file too (no journal when it is empty);
    // `contents` resumes a journal left on disk.
    explicit FileBackups(std::filesystem::path journal, JournalContents contents = {})
        : journal_(std::move(journal)), kept_(std::move(contents)) {}

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

    // The change is complete, or undone: its journal goes.
    Status closeJournal();

    // Nothing was kept: no file has been touched.
    bool empty() const { return kept_.copies.empty(); }

private:
    Status writeJournal() const;

    std::filesystem::path journal_;
    JournalContents kept_;
};

}  // namespace veldra::registration
