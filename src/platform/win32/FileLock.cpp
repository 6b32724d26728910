#include "platform/FileLock.h"

#include <windows.h>

namespace veldra::platform {

FileLock::FileLock(const std::filesystem::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error_ = "cannot open " + file.string() + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    OVERLAPPED start{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        const DWORD cause = GetLastError();
        CloseHandle(handle);
        if (cause == ERROR_LOCK_VIOLATION) {
            state_ = State::HeldElsewhere;
        } else {
            error_ = "cannot lock " + file.string() + " (error " + std::to_string(cause) + ")";
        }
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    state_ = State::Held;
}

FileLock::~FileLock() {
    if (state_ == State::Held) CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing drops the lock
}

}  // namespace veldra::platform
