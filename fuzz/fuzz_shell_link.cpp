// The shell link reader: any bytes give a target or a reason, never a crash.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/ShellLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = veldra::platform::readShellLinkTarget(std::span(data, size), "C:\\links\\sub");
    if (read.path.has_value() == !read.error.empty()) std::abort();
    return 0;
}
