#include "cli/HostBackend.h"

#include "platform/MemoryRegistry.h"

namespace veldra::cli {

std::unique_ptr<platform::Registry> openHostRegistry(const std::string&) {
    return std::make_unique<platform::MemoryRegistry>();
}

}  // namespace veldra::cli
