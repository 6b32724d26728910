#include "formats/TypStamp.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "formats/FileSizeLimits.h"
#include "platform/PathText.h"

namespace veldra::formats {
namespace {

constexpr std::size_t TypIdsEnd = TypPidOffset + 2;

std::string tooShort(const std::filesystem::path& typ) {
    return platform::pathText(typ) + " is too short for a type file";
}

}  // namespace

std::optional<TypIds> parseTypIds(ByteView typ) {
    if (typ.size() < TypIdsEnd) return std::nullopt;
    return TypIds{*u16At(typ, TypFidOffset), *u16At(typ, TypPidOffset)};
}

TypIdsRead readTypIds(const std::filesystem::path& typ) {
    std::ifstream in(typ, std::ios::binary);
    if (!in) return {std::nullopt, "cannot open " + platform::pathText(typ)};
    std::vector<std::uint8_t> head(TypIdsEnd);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    auto ids = parseTypIds(head);
    if (!ids) return {std::nullopt, tooShort(typ)};
    return {ids, {}};
}

platform::FileResult writeTypFid(const std::filesystem::path& typ, std::uint16_t fid) {
    return platform::patchFileInPlace(typ, TypFidOffset, u16Bytes(fid));
}

platform::FileResult writeStampedTypCopy(const std::filesystem::path& source, const std::filesystem::path& target,
                                         std::uint16_t fid) {
    auto read = platform::readFileCapped(source, TypFileLimit);
    if (!read) return {false, read.failure().detail};
    std::vector<std::uint8_t>& bytes = *read;
    if (bytes.size() < TypFidOffset + 2) return {false, tooShort(source)};
    const auto stamp = u16Bytes(fid);
    std::copy(stamp.begin(), stamp.end(), bytes.begin() + static_cast<std::ptrdiff_t>(TypFidOffset));
    return platform::replaceFileAtomically(target, bytes);
}

}  // namespace veldra::formats
