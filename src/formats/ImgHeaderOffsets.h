#pragma once
// Where the fields of an IMG container's header and of its directory entries
// lie; shared by the reader and the writer.

#include <cstddef>

namespace veldra::formats::img {

// Header (first sector).
inline constexpr std::size_t XorKey = 0x00;
inline constexpr std::size_t UpdateMonth = 0x0A;
inline constexpr std::size_t UpdateYear = 0x0B;  // year - 1900
inline constexpr std::size_t DiskSignature = 0x10;  // "DSKIMG\0"
inline constexpr std::size_t DiskVersion = 0x17;
inline constexpr std::size_t GeometrySectors = 0x18;
inline constexpr std::size_t GeometryHeads = 0x1A;
inline constexpr std::size_t GeometryCylinders = 0x1C;
inline constexpr std::size_t CreationTime = 0x39;  // u16 year, month, day, hour, minute, second
inline constexpr std::size_t DirectorySector = 0x40;
inline constexpr std::size_t MakerSignature = 0x41;  // "GARMIN\0"
inline constexpr std::size_t Description1 = 0x49;
inline constexpr std::size_t Description1Length = 20;
inline constexpr std::size_t RepeatedHeads = 0x5D;
inline constexpr std::size_t RepeatedSectors = 0x5F;
inline constexpr std::size_t BlockExponent1 = 0x61;
inline constexpr std::size_t BlockExponent2 = 0x62;
inline constexpr std::size_t BlockCount = 0x63;  // end sector x 512 / block size, capped at 0xFFFF
inline constexpr std::size_t Description2 = 0x65;
inline constexpr std::size_t Description2Length = 30;
inline constexpr std::size_t DescriptionEnd = 0x83;
inline constexpr std::size_t Partition = 0x1BE;
inline constexpr std::size_t PartitionEndSector = 0x1CA;
inline constexpr std::size_t BootSignature = 0x1FE;

// Directory entry.
inline constexpr std::size_t EntryUsed = 0x00;
inline constexpr std::size_t EntryName = 0x01;
inline constexpr std::size_t EntryType = 0x09;
inline constexpr std::size_t EntrySize = 0x0C;
inline constexpr std::size_t EntryFlag = 0x10;  // 3 on the directory's own entry
inline constexpr std::size_t EntryPart = 0x11;
inline constexpr std::size_t EntryBlocks = 0x20;

}  // namespace veldra::formats::img
