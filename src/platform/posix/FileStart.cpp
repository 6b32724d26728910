#include "platform/FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace veldra::platform {
namespace {

// Why an open failed, told apart as a look at the path would have told it.
FileStart failedOpen(const char* file) {
    struct stat info {};
    return {::stat(file, &info) == 0 && S_ISREG(info.st_mode) ? FileStart::State::Unreadable : FileStart::State::NoFile,
            {}};
}

// At most maxBytes from the start; with `wholeOnly`, a larger file is not read.
FileStart readOpened(const char* file, std::uintmax_t maxBytes, bool wholeOnly) {
    // Not blocking, so that a named pipe in the file's place is only looked at.
    const int fd = ::open(file, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return failedOpen(file);
    struct stat info {};
    std::optional<std::uintmax_t> regularSize;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) regularSize = static_cast<std::uintmax_t>(info.st_size);
    FileStart start = readOpenedFile(regularSize, maxBytes, wholeOnly, [fd](std::uint8_t* into, std::size_t count) {
        for (;;) {
            const ssize_t n = ::read(fd, into, count);
            if (n < 0 && errno == EINTR) continue;
            return n > 0 ? static_cast<std::size_t>(n) : std::size_t{0};
        }
    });
    ::close(fd);
    return start;
}

}  // namespace

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes) {
    return readOpened(file.c_str(), maxBytes, false);
}

FileStart readFileStartAt(const std::string& file, std::size_t maxBytes) {
    return readOpened(file.c_str(), maxBytes, false);
}

FileStart readSmallFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    return readOpened(file.c_str(), maxBytes, true);
}

}  // namespace veldra::platform
