// Finding the wineserver of a prefix by the lock it holds, in both places Wine
// keeps it (PrefixBackendsWine checks that the registry is not written meanwhile).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"
#include "platform/WineServerProbe.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string hex(unsigned long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", value);
    return buffer;
}

std::string serverName(const fs::path& prefix) {
    struct stat info {};
    EXPECT_EQ(::stat(prefix.c_str(), &info), 0);
    return "server-" + hex(info.st_dev) + "-" + hex(info.st_ino);
}

// Another process holding the write lock as a live wineserver does (a lock
// held by this process would not show to its own F_GETLK).
class LockHolder {
public:
    explicit LockHolder(const fs::path& lockFile) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0) throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            const char status = (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0) ? 'y' : 'n';
            [[maybe_unused]] auto sent = ::write(ready[1], &status, 1);
            char ignored;
            [[maybe_unused]] auto got = ::read(release_[0], &ignored, 1);
            ::_exit(0);
        }
        char status = 'n';
        [[maybe_unused]] auto got = ::read(ready[0], &status, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        if (status != 'y') throw std::runtime_error("the child could not lock " + lockFile.string());
    }
    ~LockHolder() {
        const char go = 'x';
        [[maybe_unused]] auto sent = ::write(release_[1], &go, 1);
        ::waitpid(pid_, nullptr, 0);
        ::close(release_[0]);
        ::close(release_[1]);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    long pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
};

// Debian's Wine names its private temporary folder in the prefix, upstream
// Wine uses /tmp/.wine-<uid>; either way a lock file nobody holds is no server.
TEST(WineServerProbe, FindsTheServerByItsLockInEitherPlace) {
    TempDir prefix;
    EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);
    TempDir debianTmp;
    testing::writeText(prefix / "wineserver", debianTmp.path().filename().string() + "\n");
    const fs::path upstreamTmp = fs::path("/tmp") / (".wine-" + std::to_string(::getuid()));
    const bool upstreamExisted = fs::exists(upstreamTmp);
    fs::create_directories(upstreamTmp);
    if (!upstreamExisted) fs::permissions(upstreamTmp, fs::perms::owner_all);

    for (const fs::path& serverDir : {debianTmp / serverName(prefix.path()), upstreamTmp / serverName(prefix.path())}) {
        fs::create_directories(serverDir);
        testing::writeText(serverDir / "lock", std::string(1, '\0'));
        EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);
        {
            LockHolder server(serverDir / "lock");
            const auto found = findRunningWineServer(prefix.path());
            ASSERT_TRUE(found);
            EXPECT_EQ(found->serverDir, serverDir);
            EXPECT_EQ(found->pid, server.pid());
        }
        EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);
        fs::remove_all(serverDir);
    }
    if (!upstreamExisted) fs::remove(upstreamTmp);
}

}  // namespace
}  // namespace veldra::platform
