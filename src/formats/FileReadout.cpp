#include "formats/FileReadout.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "formats/FileSizeLimits.h"
#include "platform/PathText.h"
#include "formats/TdbBlocks.h"
#include "formats/TdbChecksum.h"
#include "formats/TdbStructure.h"
#include "formats/TreDrawPriority.h"
#include "platform/CappedFileRead.h"
#include "platform/Cp1252.h"
#include "platform/Text.h"

namespace veldra::formats {
namespace {

constexpr std::string_view MdxMagic = "Midx";
constexpr std::string_view TypSignature = "GARMIN TYP";
constexpr std::size_t TypSignatureOffset = 2;
constexpr std::string_view ImgSignature = "DSKIMG";
constexpr std::size_t ImgSignatureOffset = 0x10;

bool holdsAt(ByteView bytes, std::size_t offset, std::string_view text, std::uint8_t key = 0) {
    if (bytes.size() < offset + text.size()) return false;
    return std::equal(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                      [key](char c, std::uint8_t byte) { return static_cast<std::uint8_t>(c) == (byte ^ key); });
}

void inspectTdb(const std::filesystem::path& file, Inspection& result) {
    const auto bytes = platform::readFileCapped(file, TdbFileLimit);
    if (!bytes) {
        result.error = bytes.failure().detail;
        return;
    }
    // Header fields read from anything else would be invented values.
    if (!isTdbBlockRun(*bytes)) {
        result.error = platform::pathText(file) + " is not a TDB file";
        return;
    }
    result.header = parseTdbHeader(*bytes);
    result.tiles = listTdbTiles(*bytes);
    result.checksumOk = checksumMatches(*bytes);
}

void inspectTile(const std::filesystem::path& file, Inspection& result) {
    const DrawPriorityReading reading =
        result.kind == FileKind::Img ? readImgDrawPriority(file) : readGmapDrawPriority(file);
    result.xorByte = reading.xorByte;
    if (reading.status != DrawPriorityStatus::Found) {
        result.error = reading.error;
        return;
    }
    result.drawPriority = reading.value;
}

Inspection readInspection(const std::filesystem::path& file) {
    Inspection result;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        result.error = platform::pathText(file) + " is not a file";
        result.notAFile = true;
        return result;
    }
    result.kind = detectFileKind(file);
    switch (result.kind) {
        case FileKind::Tdb: inspectTdb(file, result); break;
        case FileKind::Img:
        case FileKind::GmapTile: inspectTile(file, result); break;
        case FileKind::Typ: {
            TypIdsRead read = readTypIds(file);
            result.typ = read.ids;
            result.error = std::move(read.error);
            break;
        }
        case FileKind::Mdx: {
            MdxRead read = readMdx(file);
            if (read.records) result.records = std::move(*read.records);
            result.error = std::move(read.error);
            break;
        }
        case FileKind::Unknown: result.error = platform::pathText(file) + " is no TDB, IMG, TYP, MDX or gmap tile file"; break;
    }
    return result;
}

}  // namespace

std::string_view fileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Tdb: return "tdb";
        case FileKind::Img: return "img";
        case FileKind::Typ: return "typ";
        case FileKind::Mdx: return "mdx";
        case FileKind::GmapTile: return "gmap-tile";
        case FileKind::Unknown: break;
    }
    return "unknown";
}

FileKind detectFileKind(const std::filesystem::path& file) {
    std::array<std::uint8_t, ImgSignatureOffset + ImgSignature.size()> head{};
    std::ifstream in(file, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    const ByteView bytes(head.data(), static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));

    if (holdsAt(bytes, 0, MdxMagic)) return FileKind::Mdx;
    if (holdsAt(bytes, TypSignatureOffset, TypSignature)) return FileKind::Typ;
    if (!bytes.empty() && holdsAt(bytes, ImgSignatureOffset, ImgSignature, bytes[0])) return FileKind::Img;
    // Damaged files of a known name still get the reader of their kind and its error.
    const std::string extension = platform::toLowerAscii(platform::pathText(file.extension()));
    if (extension == ".tdb") return FileKind::Tdb;
    if (extension == ".img") return FileKind::Img;
    if (extension == ".typ") return FileKind::Typ;
    if (extension == ".mdx") return FileKind::Mdx;
    if (isGmapTreFile(file)) return FileKind::GmapTile;
    if (!bytes.empty() && bytes[0] == TdbHeaderBlock) return FileKind::Tdb;
    return FileKind::Unknown;
}

Inspection inspectFile(const std::filesystem::path& file) {
    Inspection result = readInspection(file);
    // The file's name is in most errors, and a name may hold any bytes.
    result.error = platform::validUtf8(result.error);
    return result;
}

}  // namespace veldra::formats
