#pragma once
// What VELDRA reads from one file, whatever its kind: the data behind
// `veldra inspect`.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MdxStamp.h"
#include "formats/TdbHeader.h"
#include "formats/TdbTileList.h"
#include "formats/TypStamp.h"

namespace veldra::formats {

enum class FileKind { Tdb, Img, Typ, Mdx, GmapTile, Unknown };

// "tdb", "img", "typ", "mdx", "gmap-tile", "unknown".
std::string_view fileKindName(FileKind kind);

// By content first (index, type file, IMG container), then by name.
FileKind detectFileKind(const std::filesystem::path& file);

struct Inspection {
    FileKind kind = FileKind::Unknown;
    std::string error;  // empty when everything the kind carries was read
    bool notAFile = false;  // no regular file at the path

    // TDB
    std::optional<TdbHeader> header;
    std::vector<TdbTile> tiles;
    std::optional<bool> checksumOk;  // nothing when the file has no trailer block
    // IMG and gmap tile
    std::optional<std::uint8_t> xorByte;
    std::optional<std::uint8_t> drawPriority;
    // TYP
    std::optional<TypIds> typ;
    // MDX
    std::vector<MdxRecord> records;
};

Inspection inspectFile(const std::filesystem::path& file);

}  // namespace veldra::formats
