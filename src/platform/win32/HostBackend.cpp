#include "platform/HostBackend.h"

#include "platform/ExecutablePath.h"
#include "platform/Win32Processes.h"
#include "platform/Win32Registry.h"
#include "platform/Win32Security.h"
#include "platform/Win32Shell.h"
#include "platform/WindowsHostPaths.h"

namespace veldra::platform {

bool hostBackendExists(const std::string&) { return true; }

Result<HostBackend> openHostBackend(const std::string& prefixOption, bool showToolOutput) {
    if (!prefixOption.empty()) return fail(Msg::MsgPrefixNotOnWindows);
    HostBackend host;
    host.registry = std::make_unique<Win32Registry>();
    host.paths = std::make_unique<WindowsHostPaths>();
    host.shell = std::make_unique<Win32Shell>();
    host.security = std::make_unique<Win32Security>();
    host.processes = std::make_unique<Win32Processes>(showToolOutput);
    host.programFolder = executableFolder();
    return host;
}

}  // namespace veldra::platform
