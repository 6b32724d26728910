#include "platform/FileRangeCopy.h"

#include <algorithm>
#include <vector>

#include "platform/PathText.h"

namespace veldra::platform {

FileResult copyFileRange(OpenFile& from, std::uint64_t offset, std::uint64_t length, OpenFile& to,
                         const std::function<void(std::span<std::uint8_t>)>& change) {
    const auto size = from.size();
    if (!size) return {false, "cannot read " + pathText(from.path())};
    if (offset > *size || length > *size - offset)
        return {false, "refusing to copy past the end of " + pathText(from.path())};
    std::uint64_t done = change ? 0 : to.appendInSystem(from, offset, length);
    if (done == length) return {};
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(std::min(CopyPieceSize, length - done)));
    while (done < length) {
        const std::span<std::uint8_t> bytes(piece.data(), static_cast<std::size_t>(std::min(CopyPieceSize, length - done)));
        if (!from.readAt(offset + done, bytes)) return {false, "cannot read " + pathText(from.path())};
        if (change) change(bytes);
        if (!to.write(bytes)) return {false, "cannot write " + pathText(to.path())};
        done += bytes.size();
    }
    return {};
}

}  // namespace veldra::platform
