#include "platform/FileStart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace veldra::platform {
namespace {

// Why an open failed, told apart as a look at the path would have told it.
FileStart failedOpen(const std::filesystem::path& file) {
    std::error_code ec;
    return {std::filesystem::is_regular_file(file, ec) ? FileStart::State::Unreadable : FileStart::State::NoFile, {}};
}

}  // namespace

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes) {
    // Not blocking, so that a named pipe in the file's place is only looked at.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return failedOpen(file);
    FileStart start;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        start.state = FileStart::State::Read;
        start.bytes.resize(maxBytes);
        std::size_t got = 0;
        while (got < maxBytes) {
            const ssize_t n = ::read(fd, start.bytes.data() + got, maxBytes - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        start.bytes.resize(got);
    }
    ::close(fd);
    return start;
}

}  // namespace veldra::platform
