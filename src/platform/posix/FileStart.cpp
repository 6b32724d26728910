#include "platform/FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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
    FileStart start;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        start.size = static_cast<std::uintmax_t>(info.st_size);
        start.state = wholeOnly && start.size > maxBytes ? FileStart::State::TooLarge : FileStart::State::Read;
    }
    if (start.state == FileStart::State::Read) {
        const auto wanted = static_cast<std::size_t>(std::min(maxBytes, start.size));
        start.bytes.resize(wanted);
        std::size_t got = 0;
        while (got < wanted) {
            const ssize_t n = ::read(fd, start.bytes.data() + got, wanted - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        start.bytes.resize(got);
    }
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
