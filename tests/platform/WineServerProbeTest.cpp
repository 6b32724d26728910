// Finding the wineserver of a prefix by the lock it holds, in both places Wine
// keeps it, and the refusal of registry writes while it runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "support/PrefixTestSupport.h"
#include "platform/WinePrefixRegistry.h"
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

TEST(WineServerProbe, FindsTheServerOfDebiansWineByItsLock) {
    TempDir prefix;
    EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);

    // Debian's Wine names its private temporary folder in the prefix.
    TempDir tmp;
    std::ofstream(prefix.path() / "wineserver") << tmp.path().filename().string() << "\n";
    const fs::path serverDir = tmp.path() / serverName(prefix.path());
    fs::create_directories(serverDir);
    std::ofstream(serverDir / "lock").put('\0');
    EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);  // a lock file nobody holds

    const std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
    std::ofstream(prefix.path() / "system.reg") << reg;
    WinePrefixRegistry registry(prefix.path());
    {
        LockHolder server(serverDir / "lock");
        const auto found = findRunningWineServer(prefix.path());
        ASSERT_TRUE(found);
        EXPECT_EQ(found->serverDir, serverDir);
        EXPECT_EQ(found->pid, server.pid());

        const auto blocker = registry.writeBlocker();
        ASSERT_TRUE(blocker);
        EXPECT_EQ(*blocker, "Wine programs are running in the prefix " + prefix.path().string() + " (wineserver pid " +
                                std::to_string(server.pid()) +
                                "). Close MapSource/BaseCamp and the other Wine programs of this prefix (or run "
                                "`wineserver -k`), then try again.");
        EXPECT_EQ(registry.createKey(RegistryRoot::LocalMachine, "Software\\Garmin"), regerror::AccessDenied);
        EXPECT_EQ(registry.createKey(RegistryRoot::CurrentUser, "Software\\VELDRA"), regerror::AccessDenied);
        EXPECT_EQ(registry.lastError(), *blocker);
        EXPECT_FALSE(fs::exists(prefix.path() / "user.reg"));
        EXPECT_FALSE(fs::exists(prefix.path() / "system.reg.veldra-bak"));
        std::ifstream saved(prefix.path() / "system.reg", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), reg);
    }
    EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);
    EXPECT_EQ(registry.writeBlocker(), std::nullopt);
    EXPECT_EQ(registry.createKey(RegistryRoot::LocalMachine, "Software\\Garmin"), regerror::Success);
}

TEST(WineServerProbe, FindsTheServerOfUpstreamWineByItsLock) {
    TempDir prefix;
    const fs::path parent = fs::path("/tmp") / (".wine-" + std::to_string(::getuid()));
    const bool parentExisted = fs::exists(parent);
    fs::create_directories(parent);
    if (!parentExisted) fs::permissions(parent, fs::perms::owner_all);
    const fs::path serverDir = parent / serverName(prefix.path());
    fs::create_directories(serverDir);
    {
        LockHolder server(serverDir / "lock");
        const auto found = findRunningWineServer(prefix.path());
        ASSERT_TRUE(found);
        EXPECT_EQ(found->serverDir, serverDir);
        EXPECT_EQ(found->pid, server.pid());
    }
    EXPECT_EQ(findRunningWineServer(prefix.path()), std::nullopt);
    fs::remove_all(serverDir);
    if (!parentExisted) fs::remove(parent);
}

}  // namespace
}  // namespace veldra::platform
