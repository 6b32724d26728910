#include "platform/WineShell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "platform/FileNames.h"
#include "platform/WineShellFolders.h"

extern char** environ;

namespace veldra::platform {
namespace fs = std::filesystem;

WineShell::WineShell(const Registry& registry, const HostPaths& paths, std::string userName,
                     std::optional<bool> win64)
    : registry_(registry), paths_(paths), userName_(std::move(userName)), win64_(win64) {}

fs::path WineShell::specialFolder(int csidl) const {
    const std::string host = shellFolderHostPath(registry_, csidl, userName_);
    return host.empty() ? fs::path() : paths_.toNative(host);
}

std::string WineShell::myGetUserName() const { return userName_; }

std::string WineShell::windowsVersionName() const { return {}; }

bool WineShell::IsAdmin() const { return false; }

fs::path WineShell::shortPath(const fs::path& path) const { return path; }

bool WineShell::openDocument(std::string_view documentOrUrl) const {
    const auto opener = findOnPath("xdg-open");
    if (!opener) return false;
    // A short-lived shell starts the opener in the background and is reaped at
    // once, so the opener never lingers as a child of this process.
    std::string script = "\"$0\" \"$1\" </dev/null >/dev/null 2>&1 &";
    std::string shell = "/bin/sh", dashC = "-c", openerPath = opener->string(), argument(documentOrUrl);
    char* argv[] = {shell.data(), dashC.data(), script.data(), openerPath.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace veldra::platform
