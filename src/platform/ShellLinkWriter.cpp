#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/LittleEndian.h"
#include "platform/ShellLinkLayout.h"
#include "platform/ShellLinks.h"

namespace veldra::platform {
namespace {

using namespace shelllink;
using ByteList = std::vector<std::uint8_t>;

constexpr std::uint32_t FolderAttribute = 0x10;
constexpr std::uint32_t NormalAttribute = 0x80;
constexpr std::uint32_t ShowNormal = 1;
constexpr std::uint8_t VolumeItem = VolumeClass | 0x0F;
// Windows gives the drive item this fixed size, the drive text padded with zeros.
constexpr std::size_t VolumeItemSize = 25;
constexpr std::size_t VolumeIdSize = 0x10;

// Byte by byte: GCC 12 at -O3 takes an insert of a two-byte array into an
// empty vector for an overflow.
void put16(ByteList& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(ByteList& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putAt32(ByteList& out, std::size_t offset, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out[offset++] = static_cast<std::uint8_t>(value >> shift);
}

void putText(ByteList& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

// A name the code page holds is stored as such; any other name in UTF-16.
ByteList fileEntryItem(std::string_view name, bool folder) {
    const std::string ansi = utf8ToCp1252(name);
    const bool unicode = cp1252ToUtf8(ansi) != name;
    ByteList item(2, 0);
    item.push_back(FileEntryClass | (folder ? ItemIsFolder : ItemIsFile) | (unicode ? UnicodePrimaryName : 0));
    item.resize(PrimaryNameOffset, 0);  // file size, date, time and attributes stay zero
    if (unicode) {
        for (const char16_t unit : utf8ToUtf16(name)) put16(item, unit);
        put16(item, 0);
    } else {
        putText(item, ansi);
        item.push_back(0);
        if (item.size() % 2) item.push_back(0);
    }
    const auto size = u16Bytes(static_cast<std::uint16_t>(item.size()));
    std::copy(size.begin(), size.end(), item.begin());
    return item;
}

// "C:\" and the names after it; nothing without a drive or with an empty name.
std::optional<std::vector<std::string>> pathParts(std::string_view host) {
    if (host.size() < 3 || !std::isalpha(static_cast<unsigned char>(host[0])) || host[1] != ':' ||
        (host[2] != '\\' && host[2] != '/'))
        return std::nullopt;
    std::vector<std::string> parts{std::string(host.substr(0, 2)) + "\\"};
    std::size_t start = 3;
    while (start < host.size()) {
        const std::size_t end = std::min(host.find_first_of("\\/", start), host.size());
        if (end == start) return std::nullopt;
        parts.emplace_back(host.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

ByteList idList(const std::vector<std::string>& parts, bool targetIsFolder) {
    ByteList items;
    put16(items, 4 + MyComputer.size());
    items.push_back(RootItem);
    items.push_back(0x50);  // sort position of the computer among the desktop's items
    items.insert(items.end(), MyComputer.begin(), MyComputer.end());

    put16(items, VolumeItemSize);
    items.push_back(VolumeItem);
    putText(items, parts.front());
    items.resize(items.size() + VolumeItemSize - 3 - parts.front().size(), 0);

    for (std::size_t i = 1; i < parts.size(); ++i) {
        const ByteList item = fileEntryItem(parts[i], i + 1 < parts.size() || targetIsFolder);
        items.insert(items.end(), item.begin(), item.end());
    }
    put16(items, 0);
    ByteList list;
    put16(list, items.size());
    list.insert(list.end(), items.begin(), items.end());
    return list;
}

// A fixed drive without label, the whole path as the local base path and an empty suffix.
ByteList linkInfo(std::string_view host) {
    const std::string path = utf8ToCp1252(host);
    const std::uint32_t volumeOffset = MinimumLinkInfoHeaderSize;
    const std::uint32_t volumeSize = VolumeIdSize + 1;
    const std::uint32_t pathOffset = volumeOffset + volumeSize;
    const std::uint32_t suffixOffset = pathOffset + static_cast<std::uint32_t>(path.size()) + 1;
    ByteList info;
    put32(info, suffixOffset + 1);
    put32(info, MinimumLinkInfoHeaderSize);
    put32(info, VolumeIdAndLocalBasePath);
    put32(info, volumeOffset);
    put32(info, pathOffset);
    put32(info, 0);  // no network share
    put32(info, suffixOffset);
    put32(info, volumeSize);
    put32(info, FixedDrive);
    put32(info, 0);  // serial number
    put32(info, VolumeIdSize);
    info.push_back(0);  // empty label
    putText(info, path);
    info.push_back(0);
    info.push_back(0);  // empty suffix
    return info;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> shellLinkBytes(std::string_view hostTarget, bool targetIsFolder) {
    const auto parts = pathParts(hostTarget);
    if (!parts) return std::nullopt;
    // Times, file size, icon index, hot key and the reserved fields stay zero.
    ByteList link(HeaderSize, 0);
    putAt32(link, 0x00, HeaderSize);
    std::copy(LinkClsid.begin(), LinkClsid.end(), link.begin() + 0x04);
    putAt32(link, 0x14, HasLinkTargetIdList | HasLinkInfo | IsUnicode);
    putAt32(link, 0x18, targetIsFolder ? FolderAttribute : NormalAttribute);
    putAt32(link, 0x3C, ShowNormal);

    const ByteList ids = idList(*parts, targetIsFolder);
    link.insert(link.end(), ids.begin(), ids.end());
    const ByteList info = linkInfo(hostTarget);
    link.insert(link.end(), info.begin(), info.end());
    put32(link, 0);  // no extra data blocks
    return link;
}

FileResult writeShellLinkFile(const std::filesystem::path& link, std::string_view hostTarget, bool targetIsFolder) {
    const auto bytes = shellLinkBytes(hostTarget, targetIsFolder);
    if (!bytes) return {false, "Not an absolute path on a drive: " + std::string(hostTarget)};
    return replaceFileAtomically(link, *bytes);
}

}  // namespace veldra::platform
