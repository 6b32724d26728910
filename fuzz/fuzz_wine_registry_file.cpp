// Wine registry files from anywhere: the reader must never crash, and what
// the writer makes of a file must read back to the same file without a
// complaint. A path taken from the input walks the keys, links included.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/WineRegistryFile.h"

using veldra::platform::WineRegistryFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr veldra::platform::FileTime now = 133500000000000000ULL;
    auto load = WineRegistryFile::parse(text, now);
    if (!load.file) return 0;
    const std::string written = load.file->serialize();
    const auto again = WineRegistryFile::parse(written, now);
    if (!again.file || !again.warnings.empty() || again.file->serialize() != written) std::abort();

    // The last line of the input doubles as a key path.
    const std::size_t lastLine = text.rfind('\n') + 1;  // 0 when there is no line break
    const std::string_view path = text.substr(lastLine, 256);
    load.file->findKey(path);
    load.file->findKey(path, false);
    if (load.file->createKey(path, now) && !load.file->findKey(path)) std::abort();
    return 0;
}
