#pragma once
// Brings the checksum of a TDB file up to date after one of its bytes was patched.

#include <cstdint>
#include <filesystem>
#include <string>

namespace veldra::formats {

// Files below this size are not TDB files the program knows.
inline constexpr std::uintmax_t TdbMinimumSize = 40;

inline constexpr const char* SupportAddress = "support@veldra.example";

// The text of the only message an update asks for (English in both languages).
std::string unknownTdbFormatMessage();

enum class ChecksumOutcome {
    Written,        // the four checksum bytes (those inside the file) were written
    NoTrailer,      // no trailer block: nothing written, nothing to show
    ZeroChecksum,   // the checksum came out 0: nothing written
    UnknownFormat,  // shorter than 40 bytes (or missing): the caller shows unknownTdbFormatMessage()
    Failed          // the file could not be read or written; `error` says why
};

struct ChecksumResult {
    ChecksumOutcome outcome = ChecksumOutcome::Failed;
    std::string error;
};

// Recomputes and stores the trailer checksum of `tdb`. The file keeps its
// length and every byte but the checksum bytes.
ChecksumResult updateTdbChecksum(const std::filesystem::path& tdb);

}  // namespace veldra::formats
