// The path confinement: any text gives a path inside the base or a refusal,
// never a crash, and what it gives is inside, lexically and for good.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ConfinedPath.h"
#include "platform/PathText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path base = "/maps/Topo.gmap/Product1";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto confined = veldra::platform::confinedPath(base, text);
    if (!confined) return 0;
    const std::filesystem::path relative = confined->lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..") std::abort();
    for (const auto& name : relative)
        if (name == "..") std::abort();
    // The path given is itself a text that names the same place.
    const auto again = veldra::platform::confinedPath(base, veldra::platform::pathText(*confined));
    if (!again || *again != *confined) std::abort();
    return 0;
}
