#include "platform/HostBackend.h"

#include "platform/CurrentUser.h"
#include "platform/ExecutablePath.h"
#include "platform/PosixProcesses.h"
#include "platform/PosixSecurity.h"
#include "platform/Prefix.h"
#include "platform/WineHostPaths.h"
#include "platform/WinePrefixRegistry.h"
#include "platform/WineShell.h"

namespace veldra::platform {

bool hostBackendExists(const std::string& prefixOption) {
    const auto choice = choosePrefix(prefixOption, PrefixEnvironment::ofThisProcess());
    return prefixExists(choice.dir);
}

Result<HostBackend> openHostBackend(const std::string& prefixOption, bool showToolOutput) {
    const auto choice = choosePrefix(prefixOption, PrefixEnvironment::ofThisProcess());
    const std::string user = currentUserName();
    auto made = ensureDefaultPrefix(choice, user, [](const std::filesystem::path& dir) {
        return std::make_unique<WinePrefixRegistry>(dir);
    });
    if (!made) return fail(made.error);
    if (!prefixExists(choice.dir))
        return fail(Msg::MsgNoWinePrefix, choice.dir.string());

    HostBackend host;
    host.prefix = choice.dir;
    host.registry = std::make_unique<WinePrefixRegistry>(choice.dir);
    host.paths = std::make_unique<WineHostPaths>(choice.dir);
    host.shell = std::make_unique<WineShell>(*host.registry, *host.paths, user, prefixIsWin64(choice.dir));
    host.security = std::make_unique<PosixSecurity>();
    host.processes = std::make_unique<PosixProcesses>(showToolOutput);
    host.programFolder = executableFolder();
    return host;
}

}  // namespace veldra::platform
