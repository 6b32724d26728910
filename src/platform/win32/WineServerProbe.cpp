#include "platform/WineServerProbe.h"

namespace veldra::platform {

// Windows has its own registry and no wineserver.
std::optional<RunningWineServer> findRunningWineServer(const std::filesystem::path&) { return std::nullopt; }

}  // namespace veldra::platform
