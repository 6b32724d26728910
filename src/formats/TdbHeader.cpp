#include "formats/TdbHeader.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "platform/PathText.h"

namespace veldra::formats {

std::string TdbHeader::shownName() const { return nameField.substr(0, nameField.find('\0')); }

std::optional<TdbHeader> parseTdbHeader(ByteView bytes) {
    if (bytes.size() < TdbNameOffset) return std::nullopt;
    TdbHeader header;
    header.headerLength = *u16At(bytes, 1);
    header.pid = *u16At(bytes, TdbPidOffset);
    header.fid = *u16At(bytes, TdbFidOffset);
    header.version = *u16At(bytes, TdbVersionOffset);
    // The first headerLength bytes (not headerLength + 3), as far as the file goes.
    const std::size_t end = std::min({bytes.size(), std::size_t{header.headerLength}, TdbNameOffset + TdbNameFieldLimit});
    if (end > TdbNameOffset)
        header.nameField.assign(bytes.begin() + TdbNameOffset, bytes.begin() + static_cast<std::ptrdiff_t>(end));
    return header;
}

TdbHeaderRead readTdbHeader(const std::filesystem::path& tdb) {
    // Unbuffered: the header comes in one small read, not a buffer's worth.
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);
    in.open(tdb, std::ios::binary);
    if (!in) return {std::nullopt, "cannot open " + platform::pathText(tdb)};
    std::vector<std::uint8_t> bytes(TdbHeaderReadSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    auto header = parseTdbHeader(bytes);
    if (!header)
        return {std::nullopt, platform::pathText(tdb) + " is too short for a TDB header (" + std::to_string(bytes.size()) +
                                  " bytes)"};
    return {std::move(header), {}};
}

}  // namespace veldra::formats
