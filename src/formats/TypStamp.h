#pragma once
// The identifiers a type file carries: FID at 0x2F and PID at 0x31, each a
// 16-bit number, low byte first.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "formats/LittleEndian.h"
#include "platform/AtomicFile.h"

namespace veldra::formats {

inline constexpr std::size_t TypFidOffset = 0x2F;
inline constexpr std::size_t TypPidOffset = 0x31;

struct TypIds {
    std::uint16_t fid = 0;
    std::uint16_t pid = 0;
};

// Nothing when the bytes end before the PID.
std::optional<TypIds> parseTypIds(ByteView typ);

struct TypIdsRead {
    std::optional<TypIds> ids;
    std::string error;
};
TypIdsRead readTypIds(const std::filesystem::path& typ);

// Stamps the FID in place: exactly the two bytes at 0x2F and 0x30.
platform::FileResult writeTypFid(const std::filesystem::path& typ, std::uint16_t fid);

// Writes a copy of `source` to `target` (replacing it atomically) that carries
// `fid`; nothing is written when the source is too short to carry it.
platform::FileResult writeStampedTypCopy(const std::filesystem::path& source, const std::filesystem::path& target,
                                         std::uint16_t fid);

}  // namespace veldra::formats
