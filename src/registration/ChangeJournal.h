#pragma once
// The journal of a change to several files and the registry: the old version
// of every file the change touches, written before the first of them changes,
// and the registry value whose commit completes the change. A run that finds
// a journal finishes the change it belongs to: committed, it only drops the
// journal; else it puts every file back.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "app/Session.h"
#include "core/Result.h"
#include "platform/CappedFileRead.h"
#include "registration/FileBackups.h"

namespace veldra::registration {

// Above the largest TDB, index or type file the format readers accept.
inline constexpr std::uintmax_t BackupLimit = 64 * platform::MiB;

// Where the host's journal lives, beside the data of all users; empty when
// that folder is unknown.
std::filesystem::path changeJournalPath(const app::Session& session);
// The lock a running change holds on its journal (FileBackups.h).
std::filesystem::path journalLockPath(const std::filesystem::path& journal);

std::vector<std::uint8_t> journalBytes(const JournalContents& contents);
// Fails on anything but a whole journal.
Result<JournalContents> parseJournal(std::span<const std::uint8_t> bytes);

// Finishes or undoes the change a journal left on disk tells of, and says
// which; nothing to do without one.
Status finishInterruptedChange(const app::Session& session);

}  // namespace veldra::registration
