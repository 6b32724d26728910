// Preloaded into `veldra` by the crash tests. Counts the calls that change
// files (writes to regular files, renames, deletions, flushes, new folders)
// of the process and of every child it starts, in one counter shared through
// the file VELDRA_WRITE_COUNTER, and kills the whole run with SIGKILL just
// before the call numbered VELDRA_KILL_AT (0 or unset: count only). The first
// process that loads the library is the one killed with the child.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace {

std::atomic<std::uint64_t>* sharedCounter() {
    static std::atomic<std::uint64_t>* counter = [] () -> std::atomic<std::uint64_t>* {
        const char* file = getenv("VELDRA_WRITE_COUNTER");
        if (file == nullptr) return nullptr;
        const int fd = open(file, O_RDWR | O_CLOEXEC);
        if (fd < 0) return nullptr;
        void* mapped = mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        return mapped == MAP_FAILED ? nullptr : static_cast<std::atomic<std::uint64_t>*>(mapped);
    }();
    return counter;
}

std::uint64_t killAt() {
    static const std::uint64_t at = [] {
        const char* text = getenv("VELDRA_KILL_AT");
        return text == nullptr ? 0 : std::strtoull(text, nullptr, 10);
    }();
    return at;
}

// The root process names itself to its children before it runs any code of theirs.
__attribute__((constructor)) void nameRootProcess() {
    if (getenv("VELDRA_KILL_ROOT") == nullptr) setenv("VELDRA_KILL_ROOT", std::to_string(getpid()).c_str(), 1);
}

void countChange() {
    std::atomic<std::uint64_t>* counter = sharedCounter();
    if (counter == nullptr) return;
    if (counter->fetch_add(1) + 1 != killAt()) return;
    if (const char* root = getenv("VELDRA_KILL_ROOT")) kill(static_cast<pid_t>(std::atoll(root)), SIGKILL);
    raise(SIGKILL);
}

// Writes to pipes and terminals change no file.
void countWriteTo(int fd) {
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) countChange();
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

#define VELDRA_FORWARD(name, ...)                                       \
    static const auto real = next<decltype(&::name)>(#name);            \
    return real(__VA_ARGS__)

extern "C" {

ssize_t write(int fd, const void* data, size_t size) {
    countWriteTo(fd);
    VELDRA_FORWARD(write, fd, data, size);
}

ssize_t writev(int fd, const struct iovec* pieces, int count) {
    countWriteTo(fd);
    VELDRA_FORWARD(writev, fd, pieces, count);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    countWriteTo(fd);
    VELDRA_FORWARD(pwrite, fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    countWriteTo(fd);
    VELDRA_FORWARD(pwrite64, fd, data, size, offset);
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size, unsigned flags) {
    countChange();
    VELDRA_FORWARD(copy_file_range, in, inOffset, out, outOffset, size, flags);
}

ssize_t sendfile(int out, int in, off_t* offset, size_t size) noexcept {
    countWriteTo(out);
    VELDRA_FORWARD(sendfile, out, in, offset, size);
}

ssize_t sendfile64(int out, int in, off64_t* offset, size_t size) noexcept {
    countWriteTo(out);
    VELDRA_FORWARD(sendfile64, out, in, offset, size);
}

int fsync(int fd) {
    countChange();
    VELDRA_FORWARD(fsync, fd);
}

int fdatasync(int fd) {
    countChange();
    VELDRA_FORWARD(fdatasync, fd);
}

int ftruncate(int fd, off_t size) noexcept {
    countChange();
    VELDRA_FORWARD(ftruncate, fd, size);
}

int truncate(const char* file, off_t size) noexcept {
    countChange();
    VELDRA_FORWARD(truncate, file, size);
}

int rename(const char* from, const char* to) noexcept {
    countChange();
    VELDRA_FORWARD(rename, from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept {
    countChange();
    VELDRA_FORWARD(renameat, fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept {
    countChange();
    VELDRA_FORWARD(renameat2, fromFolder, from, toFolder, to, flags);
}

int unlink(const char* file) noexcept {
    countChange();
    VELDRA_FORWARD(unlink, file);
}

int unlinkat(int folder, const char* file, int flags) noexcept {
    countChange();
    VELDRA_FORWARD(unlinkat, folder, file, flags);
}

int rmdir(const char* folder) noexcept {
    countChange();
    VELDRA_FORWARD(rmdir, folder);
}

int mkdir(const char* folder, mode_t mode) noexcept {
    countChange();
    VELDRA_FORWARD(mkdir, folder, mode);
}

int link(const char* from, const char* to) noexcept {
    countChange();
    VELDRA_FORWARD(link, from, to);
}

int symlink(const char* target, const char* link) noexcept {
    countChange();
    VELDRA_FORWARD(symlink, target, link);
}

}  // extern "C"
