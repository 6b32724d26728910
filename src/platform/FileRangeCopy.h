#pragma once
// Copying a byte range of one open file into another: inside the system where
// it can (the bytes never pass through the program), else in 1 MiB pieces.
// Either way the range is never held whole, whatever its size.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "platform/AtomicFile.h"

namespace veldra::platform {

inline constexpr std::uint64_t CopyPieceSize = 1024 * 1024;

// A file open for reading at offsets, or for writing from its start on
// (created, or emptied when it is there).
class OpenFile {
public:
    enum class Mode { Read, Write };

    OpenFile(const std::filesystem::path& file, Mode mode);
    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return handle_ != Closed; }
    const std::filesystem::path& path() const { return path_; }
    // Nothing when the size cannot be read.
    std::optional<std::uint64_t> size() const;
    // Exactly bytes.size() bytes from `offset`; false when the file ends before.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> bytes);
    // Appends the bytes at the write position.
    bool write(std::span<const std::uint8_t> bytes);
    // Appends what the system copies of the range by itself: how many bytes,
    // none where it cannot (copyFileRange then copies the rest in pieces).
    std::uint64_t appendInSystem(OpenFile& from, std::uint64_t offset, std::uint64_t length);
    // Closes the file; false when the system reports a write that failed late.
    bool close();

private:
    static constexpr std::intptr_t Closed = -1;
    std::filesystem::path path_;
    std::intptr_t handle_ = Closed;
};

// Appends `length` bytes of `from`, from `offset` on, at the write position
// of `to`. A range reaching past the end of `from` is refused before anything
// is written. `change`, when given, changes each piece on its way (a
// container's XOR): the copy then goes through memory, piece by piece.
FileResult copyFileRange(OpenFile& from, std::uint64_t offset, std::uint64_t length, OpenFile& to,
                         const std::function<void(std::span<std::uint8_t>)>& change = {});

}  // namespace veldra::platform
