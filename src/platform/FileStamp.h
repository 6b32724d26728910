#pragma once
// What tells that a file was rewritten: its size and the time of its last
// change, both from one look-up of the file.

#include <cstdint>
#include <filesystem>

namespace veldra::platform {

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t written = 0;  // in the file system's own unit
    bool operator==(const FileStamp&) const = default;
};

// A stamp that does not exist when the file cannot be looked up or is no file.
FileStamp fileStampOf(const std::filesystem::path& file);

}  // namespace veldra::platform
