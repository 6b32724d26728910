// The shell link reader: any bytes give a target or a reason, never a crash.
// A target on a drive, written into a link of our own, reads back the same
// when code page 1252 holds its name (the local path of our links is written
// in that code page).

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/Cp1252.h"
#include "platform/ShellLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = veldra::platform::readShellLinkTarget(std::span(data, size), "C:\\links\\sub");
    if (read.path.has_value() == !read.error.empty()) std::abort();
    if (!read.path || veldra::platform::cp1252ToUtf8(veldra::platform::utf8ToCp1252(*read.path)) != *read.path) return 0;
    for (const bool folder : {false, true}) {
        const auto written = veldra::platform::shellLinkBytes(*read.path, folder);
        if (!written) continue;
        const auto again = veldra::platform::readShellLinkTarget(*written);
        if (again.path != read.path) std::abort();
    }
    return 0;
}
