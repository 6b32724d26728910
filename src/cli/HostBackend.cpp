#include "cli/HostBackend.h"

#include <stdexcept>

#include "platform/CurrentUser.h"
#include "platform/ExecutablePath.h"
#include "platform/PosixProcesses.h"
#include "platform/PosixSecurity.h"
#include "platform/Prefix.h"
#include "platform/WineHostPaths.h"
#include "platform/WinePrefixRegistry.h"
#include "platform/WineShell.h"

namespace veldra::cli {

HostBackend openHostBackend(const std::string& prefixOption) {
    const auto choice = platform::choosePrefix(prefixOption, platform::PrefixEnvironment::ofThisProcess());
    const std::string user = platform::currentUserName();
    auto made = platform::ensureDefaultPrefix(choice, user, [](const std::filesystem::path& dir) {
        return std::make_unique<platform::WinePrefixRegistry>(dir);
    });
    if (!made) throw std::runtime_error(made.error);
    if (!platform::prefixExists(choice.dir))
        throw std::runtime_error("No Wine prefix in " + choice.dir.string() +
                                 " (no system.reg). Run `wineboot -i` there or choose another with --prefix.");

    HostBackend host;
    host.prefix = choice.dir;
    host.registry = std::make_unique<platform::WinePrefixRegistry>(choice.dir);
    host.paths = std::make_unique<platform::WineHostPaths>(choice.dir);
    host.shell = std::make_unique<platform::WineShell>(*host.registry, *host.paths, user);
    host.security = std::make_unique<platform::PosixSecurity>();
    host.processes = std::make_unique<platform::PosixProcesses>();
    host.programFolder = platform::executableFolder();
    return host;
}

}  // namespace veldra::cli
