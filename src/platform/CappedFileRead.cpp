#include "platform/CappedFileRead.h"

#include <fstream>
#include <string>
#include <system_error>

#include "platform/PathText.h"

namespace veldra::platform {

Result<std::vector<std::uint8_t>> readFileCapped(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail("cannot open " + pathText(file));
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return fail("cannot read the size of " + pathText(file));
    if (size > maxBytes)
        return fail("refusing to read " + pathText(file) + ": it holds " + std::to_string(size) +
                    " bytes, more than the " + std::to_string(maxBytes) + " a file of its kind ever has");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    // A file cut short since its size was taken is not read half.
    if (in.gcount() != static_cast<std::streamsize>(size)) return fail("cannot read " + pathText(file));
    return bytes;
}

}  // namespace veldra::platform
