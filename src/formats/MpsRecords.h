#pragma once
// The MPS subfile of a device image: records `u8 type, u16 body length, body`
// that say which tiles belong to which map family.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

inline constexpr std::uint8_t MpsTileRecord = 'L';
inline constexpr std::uint8_t MpsFamilyRecord = 'F';
inline constexpr std::uint8_t MpsMapsetRecord = 'V';
inline constexpr std::uint8_t MpsProductRecord = 'P';

struct MpsRecord {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> body;
};

// An L record: one tile of a family. Texts are code page bytes.
struct MpsTile {
    std::uint16_t pid = 0;
    std::uint16_t fid = 0;
    std::uint32_t mapNumber = 0;
    std::string seriesName;
    std::string description;
    std::string areaName;
    std::uint32_t mapId = 0;
};

// An F record: the name of a family.
struct MpsFamily {
    std::uint16_t pid = 0;
    std::uint16_t fid = 0;
    std::string name;
};

struct MpsContents {
    std::vector<MpsRecord> records;  // every record, in file order
    std::vector<MpsTile> tiles;
    std::vector<MpsFamily> families;
    std::optional<std::string> mapsetName;  // from the V record

    // The image tells which tiles form which family only with both kinds.
    bool hasFamilyInformation() const { return !tiles.empty() && !families.empty(); }
};

struct MpsRead {
    std::optional<MpsContents> contents;
    std::string error;
};

// Zero bytes after the last record are padding. Every record must lie wholly
// inside the data, and the L, F, V and P records must hold their fields.
MpsRead parseMps(ByteView mps);

// The FID a record belongs to: the u16 at body offset 2 of L, F and P records.
std::optional<std::uint16_t> mpsRecordFid(const MpsRecord& record);

std::vector<std::uint8_t> serializeMps(const std::vector<MpsRecord>& records);

}  // namespace veldra::formats
