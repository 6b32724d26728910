#include "platform/WineServerProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

std::string hex(unsigned long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", value);
    return buffer;
}

// Debian's Wine keeps the server folder in a private temporary folder whose
// name it stores in the prefix.
std::optional<std::string> debianTempFolderName(const fs::path& prefix) {
    std::ifstream in(prefix / "wineserver");
    std::string name;
    if (!in || !std::getline(in, name)) return std::nullopt;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") return std::nullopt;
    return name;
}

std::vector<fs::path> candidateServerDirs(const fs::path& prefix, const std::string& serverName) {
    const std::string uid = std::to_string(::getuid());
    std::vector<fs::path> dirs{fs::path("/tmp") / (".wine-" + uid) / serverName};
    std::error_code ec;
    const fs::path runUser = fs::path("/run/user") / uid;
    if (fs::is_directory(runUser, ec)) dirs.push_back(runUser / "wine" / serverName);
    if (auto name = debianTempFolderName(prefix)) {
        const char* tmp = std::getenv("TMPDIR");
        const fs::path tmpDir = (tmp && *tmp) ? fs::path(tmp) : fs::path("/tmp");
        dirs.push_back(tmpDir / *name / serverName);
        if (tmpDir != "/tmp") dirs.push_back(fs::path("/tmp") / *name / serverName);
    }
    return dirs;
}

// The live server holds a write lock on the first byte of its lock file.
std::optional<long> lockHolder(const fs::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    const bool asked = ::fcntl(fd, F_GETLK, &lock) == 0;
    ::close(fd);
    if (!asked || lock.l_type == F_UNLCK) return std::nullopt;
    return lock.l_pid > 0 ? static_cast<long>(lock.l_pid) : 0L;
}

}  // namespace

std::optional<RunningWineServer> findRunningWineServer(const fs::path& prefix) {
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) return std::nullopt;
    const std::string serverName = "server-" + hex(static_cast<unsigned long long>(info.st_dev)) + "-" +
                                   hex(static_cast<unsigned long long>(info.st_ino));
    for (const auto& dir : candidateServerDirs(prefix, serverName))
        if (auto pid = lockHolder(dir / "lock")) return RunningWineServer{dir, *pid};
    return std::nullopt;
}

}  // namespace veldra::platform
