#pragma once
// The first bytes of a file, for a reader of its header, or a small file
// whole: one open, a look at the open file and one read, without a look at
// the path first (the open tells whether a file is there, and a look before
// it would walk the same path once more).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veldra::platform {

struct FileStart {
    enum class State {
        Read,        // `bytes` holds the start of a regular file
        NoFile,      // nothing, or no regular file (links followed), at that path
        Unreadable,  // a regular file that could not be opened
        TooLarge,    // readSmallFile only: a regular file larger than asked for, not read
    };
    State state = State::NoFile;
    std::vector<std::uint8_t> bytes;  // at most the bytes asked for; fewer when the file ends (or fails) before
    std::uintmax_t size = 0;          // Read and TooLarge: the file's size when it was opened
};

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes);
// The same for a path held as its UTF-8 text: no path object is built for it.
FileStart readFileStartAt(const std::string& file, std::size_t maxBytes);
// The whole file when it holds at most maxBytes; fewer bytes than its size
// when it was cut short while it was read.
FileStart readSmallFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

// What the backends share once a file is open: `regularSize` is its size
// when it is a regular file; `readPiece` reads at most `count` bytes to
// `into` and says how many it read (0 at the end or on an error). With
// `wholeOnly`, a file larger than maxBytes is not read.
using ReadPiece = std::function<std::size_t(std::uint8_t* into, std::size_t count)>;
FileStart readOpenedFile(std::optional<std::uintmax_t> regularSize, std::uintmax_t maxBytes, bool wholeOnly,
                         const ReadPiece& readPiece);

}  // namespace veldra::platform
