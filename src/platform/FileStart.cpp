#include "platform/FileStart.h"

#include <algorithm>

namespace veldra::platform {

FileStart readOpenedFile(std::optional<std::uintmax_t> regularSize, std::uintmax_t maxBytes, bool wholeOnly,
                         const ReadPiece& readPiece) {
    FileStart start;
    if (!regularSize) return start;
    start.size = *regularSize;
    if (wholeOnly && start.size > maxBytes) {
        start.state = FileStart::State::TooLarge;
        return start;
    }
    start.state = FileStart::State::Read;
    const auto wanted = static_cast<std::size_t>(std::min(maxBytes, start.size));
    start.bytes.resize(wanted);
    std::size_t got = 0;
    while (got < wanted) {
        const std::size_t n = readPiece(start.bytes.data() + got, wanted - got);
        if (n == 0) break;
        got += n;
    }
    start.bytes.resize(got);
    return start;
}

}  // namespace veldra::platform
