#include "formats/TdbChecksum.h"

#include "formats/Crc32.h"
#include "formats/TdbBlocks.h"

namespace veldra::formats {
namespace {

std::uint8_t checksumByte(std::uint32_t value, std::size_t index) {
    return static_cast<std::uint8_t>(value >> (8 * (3 - index)));
}

}  // namespace

std::optional<std::size_t> findTrailerBlock(ByteView tdb) {
    std::size_t start = 0;
    while (start < tdb.size()) {
        if (tdb[start] == TdbTrailerBlock) return start;
        const auto length = u16At(tdb, start + 1);
        if (!length) return std::nullopt;
        start += TdbBlockPrefix + *length;
    }
    return std::nullopt;
}

ChecksumUpdate checksumUpdate(ByteView tdb) {
    ChecksumUpdate update;
    update.trailer = findTrailerBlock(tdb);
    if (!update.trailer) return update;
    update.checksum = crc32(tdb.first(*update.trailer));
    if (update.checksum == 0) return update;
    for (std::size_t i = 0; i < TdbChecksumByteOffsets.size(); ++i) {
        const std::size_t offset = *update.trailer + TdbChecksumByteOffsets[i];
        if (offset < tdb.size()) update.patches.push_back({offset, checksumByte(update.checksum, i)});
    }
    return update;
}

std::optional<bool> checksumMatches(ByteView tdb) {
    const auto trailer = findTrailerBlock(tdb);
    if (!trailer) return std::nullopt;
    const std::uint32_t checksum = crc32(tdb.first(*trailer));
    for (std::size_t i = 0; i < TdbChecksumByteOffsets.size(); ++i) {
        const std::size_t offset = *trailer + TdbChecksumByteOffsets[i];
        if (offset < tdb.size() && tdb[offset] != checksumByte(checksum, i)) return false;
    }
    return true;
}

}  // namespace veldra::formats
