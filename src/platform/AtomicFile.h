#pragma once
// Replacing and patching user files without ever leaving them half-written.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace veldra::platform {

struct FileResult {
    bool ok = true;
    std::string error;  // what went wrong, for the user; empty on success
    explicit operator bool() const { return ok; }
};

// Writes the bytes to a temporary file beside the target, flushes it to disk and
// renames it over the target, so readers see either the old or the new file.
FileResult replaceFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
FileResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);
// The same for content made piece by piece: `write` puts it into the stream
// and returns a failure when it cannot make it.
FileResult replaceFileAtomically(const std::filesystem::path& target,
                                 const std::function<FileResult(std::ostream&)>& write);

// Overwrites exactly bytes.size() bytes at offset. Refuses (and writes nothing)
// when the range reaches past the end of the file.
FileResult patchFileInPlace(const std::filesystem::path& target, std::uint64_t offset,
                            std::span<const std::uint8_t> bytes);

// Reads a whole file, however large; an error text when it cannot be read.
// Files of a known kind are read with readFileCapped instead.
FileResult readWholeFile(const std::filesystem::path& source, std::vector<std::uint8_t>& out);

}  // namespace veldra::platform
