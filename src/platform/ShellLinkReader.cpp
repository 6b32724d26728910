#include <algorithm>
#include <vector>

#include "platform/CappedFileRead.h"
#include "platform/ShellLinkBytes.h"
#include "platform/ShellLinkIdList.h"
#include "platform/ShellLinkInfo.h"
#include "platform/ShellLinkLayout.h"
#include "platform/ShellLinks.h"

namespace veldra::platform {
namespace {

using namespace shelllink;

// The parts of a link that can name its target.
struct LinkParts {
    std::optional<Bytes> idList;
    std::optional<Bytes> linkInfo;
    std::optional<std::string> relativePath;
};

// Walks the optional structures in their fixed order. A structure that
// overruns the file ends the walk; what was read before it still counts.
LinkParts splitLink(Bytes link, std::uint32_t flags) {
    LinkParts parts;
    std::size_t offset = HeaderSize;
    if (flags & HasLinkTargetIdList) {
        const auto size = u16At(link, offset);
        if (!size) return parts;
        parts.idList = sliceAt(link, offset + 2, *size);
        if (!parts.idList) return parts;
        offset += 2u + *size;
    }
    if (flags & HasLinkInfo) {
        const auto size = u32At(link, offset);
        if (!size) return parts;
        const auto info = sliceAt(link, offset, *size);
        if (!info) return parts;
        if (!(flags & ForceNoLinkInfo)) parts.linkInfo = info;
        offset += *size;
    }
    const bool unicode = flags & IsUnicode;
    for (const std::uint32_t item : {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if (!(flags & item)) continue;
        const auto count = u16At(link, offset);
        if (!count) return parts;
        auto text = countedStringAt(link, offset + 2, *count, unicode);
        if (!text) return parts;
        if (item == HasRelativePath) parts.relativePath = std::move(text);
        offset += 2u + (unicode ? 2u : 1u) * *count;
    }
    return parts;
}

// "..\Maps\Topo.gmap" taken against "C:\Users\me\Links".
std::optional<std::string> resolveRelative(std::string_view folder, std::string_view relative) {
    // A zero character ends the path where Windows uses it; kept, it would hide in a name.
    relative = relative.substr(0, relative.find('\0'));
    if (folder.empty() || relative.empty()) return std::nullopt;
    std::vector<std::string> components;
    auto append = [&components](std::string_view path) {
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
            const std::string_view part = path.substr(start, end - start);
            if (part == "..") {
                if (components.size() > 1) components.pop_back();
            } else if (!part.empty() && part != ".") {
                components.emplace_back(part);
            }
            start = end + 1;
        }
    };
    append(folder);
    append(relative);
    if (components.empty()) return std::nullopt;
    // A share ("\\server\share") keeps its two leading backslashes.
    std::string path = (folder.starts_with("\\\\") ? "\\\\" : "") + components.front();
    for (std::size_t i = 1; i < components.size(); ++i) path += "\\" + components[i];
    if (components.size() == 1) path += "\\";
    return path;
}

}  // namespace

ShellLinkTarget readShellLinkTarget(std::span<const std::uint8_t> link, std::string_view linkFolder) {
    if (u32At(link, 0) != HeaderSize || link.size() < HeaderSize ||
        !std::equal(LinkClsid.begin(), LinkClsid.end(), link.begin() + 4))
        return {std::nullopt, "not a shell link"};
    const LinkParts parts = splitLink(link, *u32At(link, FlagsOffset));
    if (parts.linkInfo)
        if (auto target = linkInfoTarget(*parts.linkInfo)) return {std::move(target), {}};
    if (parts.idList)
        if (auto target = idListTarget(*parts.idList)) return {std::move(target), {}};
    if (parts.relativePath)
        if (auto target = resolveRelative(linkFolder, *parts.relativePath)) return {std::move(target), {}};
    return {std::nullopt, "the shell link names no file system path"};
}

ShellLinkTarget readShellLinkFile(const std::filesystem::path& link, std::string_view linkFolder) {
    const auto bytes = readFileCapped(link, ShellLinkFileLimit);
    if (!bytes) return {std::nullopt, bytes.failure().detail};
    return readShellLinkTarget(*bytes, linkFolder);
}

}  // namespace veldra::platform
