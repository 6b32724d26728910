#pragma once
// The header fields of a TDB file as every reader takes them: single bytes at
// fixed offsets of the header block.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "formats/LittleEndian.h"

namespace veldra::formats {

inline constexpr std::size_t TdbPidOffset = 3;
inline constexpr std::size_t TdbFidOffset = 5;
inline constexpr std::size_t TdbVersionOffset = 7;
inline constexpr std::size_t TdbNameOffset = 9;
// The catalog keeps at most this many characters of the header after the first nine.
inline constexpr std::size_t TdbNameFieldLimit = 40;
// What a reader of the header fields needs of the file.
inline constexpr std::size_t TdbHeaderReadSize = TdbNameOffset + TdbNameFieldLimit;

struct TdbHeader {
    std::uint16_t headerLength = 0;  // data length of the header block (offset 1)
    std::uint16_t pid = 0;
    std::uint16_t fid = 0;
    std::uint16_t version = 0;
    // Code page 1252 bytes: of the first `headerLength` bytes of the file, those
    // after the first nine, at most 40. The series name's terminator and what
    // follows it may be part of it.
    std::string nameField;

    // The name field up to its first zero byte: what a list or text field shows.
    std::string shownName() const;
};

// Nothing when the bytes end before the name offset.
std::optional<TdbHeader> parseTdbHeader(ByteView bytes);

struct TdbHeaderRead {
    std::optional<TdbHeader> header;
    std::string error;  // why there is no header
};

// Reads only the first bytes the header fields need.
TdbHeaderRead readTdbHeader(const std::filesystem::path& tdb);

}  // namespace veldra::formats
