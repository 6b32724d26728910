#include "platform/ShellLinkIdList.h"

#include <algorithm>
#include <vector>

#include "platform/ShellLinkLayout.h"

namespace veldra::platform::shelllink {
namespace {

constexpr std::uint32_t FileEntryExtension = 0xBEEF0004;

// The long name of the extension block Windows appends to a file entry. Its
// position depends on the block's version; other writers (Wine) leave the
// signature zero and store the long name as the primary name.
std::optional<std::string> extensionLongName(Bytes item) {
    const auto extensionOffset = u16At(item, item.size() - 2);
    if (!extensionOffset || *extensionOffset < PrimaryNameOffset || *extensionOffset >= item.size() - 2)
        return std::nullopt;
    const Bytes extension = item.subspan(*extensionOffset, item.size() - 2 - *extensionOffset);
    const auto version = u16At(extension, 2);
    const auto signature = u32At(extension, 4);
    if (!version || signature != FileEntryExtension || *version < 3) return std::nullopt;
    const std::size_t nameOffset = *version >= 9 ? 46 : *version >= 8 ? 42 : *version >= 7 ? 38 : 20;
    auto name = unicodeStringAt(extension, nameOffset);
    if (!name || name->empty()) return std::nullopt;
    return name;
}

std::optional<std::string> fileEntryName(Bytes item) {
    if (auto longName = extensionLongName(item)) return longName;
    if (item[2] & UnicodePrimaryName) return unicodeStringAt(item, PrimaryNameOffset);
    return ansiStringAt(item, PrimaryNameOffset);
}

// The items of the list, each with its size field; nothing when one overruns.
std::optional<std::vector<Bytes>> items(Bytes idList) {
    std::vector<Bytes> result;
    std::size_t offset = 0;
    for (;;) {
        const auto size = u16At(idList, offset);
        if (!size) return std::nullopt;
        if (*size == 0) return result;
        const auto item = sliceAt(idList, offset, *size);
        if (!item || *size < 3) return std::nullopt;
        result.push_back(*item);
        offset += *size;
    }
}

}  // namespace

std::optional<std::string> idListTarget(Bytes idList) {
    const auto list = items(idList);
    if (!list || list->size() < 2) return std::nullopt;
    const Bytes root = (*list)[0];
    if (root[2] != RootItem || root.size() < 4 + MyComputer.size() ||
        !std::equal(MyComputer.begin(), MyComputer.end(), root.begin() + 4))
        return std::nullopt;
    const Bytes volume = (*list)[1];
    if ((volume[2] & ClassMask) != VolumeClass) return std::nullopt;
    auto path = ansiStringAt(volume, 3);
    if (!path || path->empty()) return std::nullopt;

    for (std::size_t i = 2; i < list->size(); ++i) {
        const Bytes item = (*list)[i];
        if ((item[2] & ClassMask) != FileEntryClass || item.size() <= PrimaryNameOffset) return std::nullopt;
        const auto name = fileEntryName(item);
        if (!name || name->empty()) return std::nullopt;
        if (!path->ends_with('\\')) *path += '\\';
        *path += *name;
    }
    return path;
}

}  // namespace veldra::platform::shelllink
