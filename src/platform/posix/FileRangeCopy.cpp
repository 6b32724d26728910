#include "platform/FileRangeCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace veldra::platform {
namespace {

int fdOf(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

OpenFile::OpenFile(const std::filesystem::path& file, Mode mode) : path_(file) {
    const int flags = mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const int fd = ::open(file.c_str(), flags | O_CLOEXEC, 0644);
    if (fd >= 0) handle_ = fd;
}

OpenFile::~OpenFile() { close(); }

std::optional<std::uint64_t> OpenFile::size() const {
    struct stat info {};
    if (::fstat(fdOf(handle_), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

bool OpenFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n =
            ::pread(fdOf(handle_), bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool OpenFile::write(std::span<const std::uint8_t> bytes) {
    std::size_t put = 0;
    while (put < bytes.size()) {
        const ssize_t n = ::write(fdOf(handle_), bytes.data() + put, bytes.size() - put);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        put += static_cast<std::size_t>(n);
    }
    return true;
}

// copy_file_range copies inside the kernel (or shares the blocks, where the
// file system can); where it refuses (another file system on older kernels,
// a file system without it) the caller copies the rest in pieces.
std::uint64_t OpenFile::appendInSystem(OpenFile& from, std::uint64_t offset, std::uint64_t length) {
    // No more than one call can report, in whole MiB.
    constexpr std::uint64_t MaxCall = std::numeric_limits<int>::max() & ~std::uint64_t{0xFFFFF};
    std::uint64_t done = 0;
    while (done < length) {
        off64_t source = static_cast<off64_t>(offset + done);
        const ssize_t n = ::copy_file_range(fdOf(from.handle_), &source, fdOf(handle_), nullptr,
                                            static_cast<std::size_t>(std::min(MaxCall, length - done)), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::uint64_t>(n);
    }
    return done;
}

bool OpenFile::close() {
    if (!isOpen()) return true;
    const bool ok = ::close(fdOf(handle_)) == 0;
    handle_ = Closed;
    return ok;
}

}  // namespace veldra::platform
