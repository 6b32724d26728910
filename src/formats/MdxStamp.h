#pragma once
// The index file (.mdx): "Midx", a 16-bit record count at offset 10 and
// records of 12 bytes from offset 14, each carrying the FID at its offset 6.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/LittleEndian.h"
#include "platform/AtomicFile.h"

namespace veldra::formats {

inline constexpr std::size_t MdxCountOffset = 10;
inline constexpr std::size_t MdxFirstRecord = 14;
inline constexpr std::size_t MdxRecordSize = 12;
inline constexpr std::size_t MdxRecordFidOffset = 6;  // FID of record i at 20 + 12 i

struct MdxRecord {
    std::uint32_t mapId = 0;
    std::uint16_t pid = 0;
    std::uint16_t fid = 0;
    std::uint32_t mapNumber = 0;
};

struct MdxRead {
    std::optional<std::vector<MdxRecord>> records;
    std::string error;  // the file ends before its count or before its last counted record
};

MdxRead parseMdx(ByteView mdx);
MdxRead readMdx(const std::filesystem::path& mdx);

// Writes the FID into each counted record (two bytes per record; the file is
// replaced as a whole, every other byte kept). A last record cut short after
// its FID is still stamped; nothing is written when the FID of a counted
// record would lie past the end of the file.
platform::FileResult writeMdxFid(const std::filesystem::path& mdx, std::uint16_t fid);

}  // namespace veldra::formats
