#include "formats/TypStamp.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <vector>

#include "formats/FileSizeLimits.h"
#include "platform/PathText.h"

namespace veldra::formats {
namespace {

constexpr std::size_t TypIdsEnd = TypPidOffset + 2;
// Every Garmin subfile begins with its header length and this kind text.
constexpr std::string_view TypSignature = "GARMIN TYP";
constexpr std::size_t TypSignatureOffset = 2;

std::string notATypeFile(const std::filesystem::path& typ) {
    return platform::pathText(typ) + " is not a type file";
}

}  // namespace

std::optional<TypIds> parseTypIds(ByteView typ) {
    if (typ.size() < TypIdsEnd) return std::nullopt;
    if (!std::equal(TypSignature.begin(), TypSignature.end(), typ.begin() + TypSignatureOffset)) return std::nullopt;
    return TypIds{*u16At(typ, TypFidOffset), *u16At(typ, TypPidOffset)};
}

TypIdsRead readTypIds(const std::filesystem::path& typ) {
    std::ifstream in(typ, std::ios::binary);
    if (!in) return {std::nullopt, "cannot open " + platform::pathText(typ)};
    std::vector<std::uint8_t> head(TypIdsEnd);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    auto ids = parseTypIds(head);
    if (!ids) return {std::nullopt, notATypeFile(typ)};
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
    if (!parseTypIds(bytes)) return {false, notATypeFile(source)};
    const auto stamp = u16Bytes(fid);
    std::copy(stamp.begin(), stamp.end(), bytes.begin() + static_cast<std::ptrdiff_t>(TypFidOffset));
    return platform::replaceFileAtomically(target, bytes);
}

}  // namespace veldra::formats
