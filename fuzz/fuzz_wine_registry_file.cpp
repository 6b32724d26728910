// Wine registry files from anywhere: the reader must never crash, and what
// the writer makes of a file must read back to the same file without a
// complaint. Paths taken from the input walk the keys, links included.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/WineRegistryFile.h"

using veldra::platform::WineRegistryFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto load = WineRegistryFile::parse(text, 133500000000000000ULL);
    if (!load.file) return 0;
    const std::string written = load.file->serialize();
    const auto again = WineRegistryFile::parse(written, 1);
    if (!again.file || !again.warnings.empty() || again.file->serialize() != written) std::abort();

    const std::string_view path = text.substr(0, std::min<std::size_t>(size, 64));
    load.file->findKey(path);
    load.file->findKey(path, false);
    if (load.file->createKey(path, 1) && !load.file->findKey(path)) std::abort();
    return 0;
}
