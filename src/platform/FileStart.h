#pragma once
// The first bytes of a file, for a reader of its header: one open and one
// read, without a look at the path first (the open tells whether a file is
// there, and a look before it would walk the same path once more).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace veldra::platform {

struct FileStart {
    enum class State {
        Read,        // `bytes` holds the start of a regular file
        NoFile,      // nothing, or no regular file (links followed), at that path
        Unreadable,  // a regular file that could not be opened
    };
    State state = State::NoFile;
    std::vector<std::uint8_t> bytes;  // at most the bytes asked for; fewer when the file ends (or fails) before
};

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes);

}  // namespace veldra::platform
