#pragma once
// An exclusive lock on a file, taken without waiting: one holder at a time,
// across processes and across the objects of one process. The system drops
// it when its holder ends, even by a crash, so a stale lock cannot remain.

#include <cstdint>
#include <filesystem>
#include <string>

namespace veldra::platform {

class FileLock {
public:
    enum class State { Held, HeldElsewhere, Failed };

    // Creates the file when it is missing and tries to lock it.
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    State state() const { return state_; }
    // Why the lock could not be taken at all (State::Failed).
    const std::string& error() const { return error_; }

private:
    std::intptr_t handle_ = -1;
    State state_ = State::Failed;
    std::string error_;
};

}  // namespace veldra::platform
