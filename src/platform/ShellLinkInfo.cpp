#include "platform/ShellLinkInfo.h"

#include "platform/ShellLinkLayout.h"

namespace veldra::platform::shelllink {
namespace {

constexpr std::uint32_t UnicodeHeaderSize = 0x24;
constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;
// A CommonNetworkRelativeLink whose NetNameOffset is above this carries Unicode offsets.
constexpr std::uint32_t NetworkAnsiHeaderSize = 0x14;

// A string of the structure: the Unicode one when its offset is given, else the ANSI one.
std::optional<std::string> pathString(Bytes bytes, std::uint32_t ansiOffset, std::optional<std::uint32_t> unicodeOffset) {
    if (unicodeOffset && *unicodeOffset != 0) return unicodeStringAt(bytes, *unicodeOffset);
    if (ansiOffset == 0) return std::nullopt;
    return ansiStringAt(bytes, ansiOffset);
}

std::optional<std::string> networkName(Bytes info, std::uint32_t offset) {
    const auto size = u32At(info, offset);
    if (!size || *size < NetworkAnsiHeaderSize) return std::nullopt;
    const auto link = sliceAt(info, offset, *size);
    if (!link) return std::nullopt;
    const auto netNameOffset = u32At(*link, 8);
    if (!netNameOffset) return std::nullopt;
    std::optional<std::uint32_t> unicodeOffset;
    if (*netNameOffset > NetworkAnsiHeaderSize) {
        unicodeOffset = u32At(*link, 0x14);
        if (!unicodeOffset) return std::nullopt;
    }
    return pathString(*link, *netNameOffset, unicodeOffset);
}

}  // namespace

std::optional<std::string> linkInfoTarget(Bytes info) {
    const auto size = u32At(info, 0);
    const auto headerSize = u32At(info, 4);
    if (!size || !headerSize || *size > info.size() || *headerSize < MinimumLinkInfoHeaderSize || *headerSize > *size)
        return std::nullopt;
    info = info.first(*size);
    const auto flags = u32At(info, 8);
    const auto localBasePathOffset = u32At(info, 0x10);
    const auto networkOffset = u32At(info, 0x14);
    const auto suffixOffset = u32At(info, 0x18);
    if (!flags || !localBasePathOffset || !networkOffset || !suffixOffset) return std::nullopt;
    std::optional<std::uint32_t> unicodeBaseOffset, unicodeSuffixOffset;
    if (*headerSize >= UnicodeHeaderSize) {
        unicodeBaseOffset = u32At(info, 0x1C);
        unicodeSuffixOffset = u32At(info, 0x20);
    }
    const std::string suffix = pathString(info, *suffixOffset, unicodeSuffixOffset).value_or("");

    if (*flags & VolumeIdAndLocalBasePath) {
        if (auto base = pathString(info, *localBasePathOffset, unicodeBaseOffset)) return *base + suffix;
    }
    if (*flags & CommonNetworkRelativeLinkAndPathSuffix) {
        if (auto share = networkName(info, *networkOffset)) {
            if (suffix.empty()) return share;
            return share->ends_with('\\') ? *share + suffix : *share + "\\" + suffix;
        }
    }
    return std::nullopt;
}

}  // namespace veldra::platform::shelllink
