#pragma once
// Brings the checksum of a TDB file up to date, with new IDs written in the
// same step when given.

#include <cstdint>
#include <filesystem>
#include <optional>
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

// The product and family IDs to write into the header (offsets 3 and 5).
struct TdbIds {
    std::optional<std::uint16_t> pid;
    std::optional<std::uint16_t> fid;
};

// Writes `ids` and recomputes the trailer checksum of `tdb`. The file keeps
// its length and every byte but the IDs and the checksum bytes; it is
// replaced as a whole, so that a crash leaves it wholly old or wholly new,
// never with new IDs and the old checksum. A file too short for a checksum
// gets its IDs in place.
ChecksumResult updateTdbChecksum(const std::filesystem::path& tdb, const TdbIds& ids = {});

}  // namespace veldra::formats
