#pragma once
// The draw priority of a map tile: the byte 62 bytes after the first
// "GARMIN TRE" in the file. In an IMG file every byte, the signature's too, is
// stored XORed with the file's first byte; gmap package tiles are plain.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/AtomicFile.h"

namespace veldra::formats {

inline constexpr std::uint64_t DrawPriorityDistance = 62;

// Offset of the first "GARMIN TRE" whose bytes are each XORed with `key`. Reads
// the stream in pieces from its current position and stops at the match.
std::optional<std::uint64_t> findTreSignature(std::istream& in, std::uint8_t key);

enum class DrawPriorityStatus { Found, FileMissing, NoSignature, Truncated, Unreadable };

struct DrawPriorityReading {
    DrawPriorityStatus status = DrawPriorityStatus::Unreadable;
    std::uint8_t value = 0;               // the draw priority, XOR undone
    std::optional<std::uint8_t> xorByte;  // the file's first byte, once read; none for gmap package tiles
    std::uint64_t byteOffset = 0;         // where the draw priority byte lies
    std::string error;                    // for every status but Found
};

DrawPriorityReading readImgDrawPriority(const std::filesystem::path& img);
DrawPriorityReading readGmapDrawPriority(const std::filesystem::path& tile);

// Write exactly one byte: the value XORed with the file's XOR byte (IMG) or plain (gmap).
platform::FileResult writeImgDrawPriority(const std::filesystem::path& img, std::uint8_t value);
platform::FileResult writeGmapDrawPriority(const std::filesystem::path& tile, std::uint8_t value);

// The files of a gmap tile folder that hold a TRE header: names ending in
// "tre" or "gmp", in any case.
bool isGmapTreFile(const std::filesystem::path& file);

}  // namespace veldra::formats
