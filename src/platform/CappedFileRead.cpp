#include "platform/CappedFileRead.h"

#include <string>
#include <system_error>

#include "platform/PathText.h"

namespace veldra::platform {

Result<std::vector<std::uint8_t>> readFileCapped(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    return cappedFileBytes(file, readSmallFile(file, maxBytes), maxBytes);
}

Result<std::vector<std::uint8_t>> cappedFileBytes(const std::filesystem::path& file, FileStart read,
                                                  std::uintmax_t maxBytes) {
    switch (read.state) {
        case FileStart::State::Read:
            // A file cut short since its size was taken is not read half.
            if (read.bytes.size() != read.size) return fail("cannot read " + pathText(file));
            return std::move(read.bytes);
        case FileStart::State::TooLarge:
            return fail("refusing to read " + pathText(file) + ": it holds " + std::to_string(read.size) +
                        " bytes, more than the " + std::to_string(maxBytes) + " a file of its kind ever has");
        case FileStart::State::NoFile: {
            // Something that opens but is no file (a folder) has no size to read.
            std::error_code ec;
            if (std::filesystem::exists(file, ec)) return fail("cannot read the size of " + pathText(file));
            break;
        }
        case FileStart::State::Unreadable:
            break;
    }
    return fail("cannot open " + pathText(file));
}

}  // namespace veldra::platform
