#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veldra::platform {

// flock() locks belong to the open file, so a second open of the same file
// in this process is refused as well (fcntl locks would let it through).
FileLock::FileLock(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error_ = "cannot open " + file.string() + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        ::close(fd);
        if (cause == EWOULDBLOCK) {
            state_ = State::HeldElsewhere;
        } else {
            error_ = "cannot lock " + file.string() + ": " + std::strerror(cause);
        }
        return;
    }
    handle_ = fd;
    state_ = State::Held;
}

FileLock::~FileLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing drops the lock
}

}  // namespace veldra::platform
