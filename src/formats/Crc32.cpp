#include "formats/Crc32.h"

#include <array>

namespace veldra::formats {
namespace {

using Crc32Table = std::array<std::uint32_t, 256>;

Crc32Table buildTable() {
    Crc32Table table{};
    for (std::uint32_t entry = 0; entry < table.size(); ++entry) {
        std::uint32_t value = entry;
        for (int step = 0; step < 8; ++step) value = (value & 1u) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        table[entry] = value;
    }
    return table;
}

// Built on first use and kept for the life of the program.
const Crc32Table& table() {
    static const Crc32Table built = buildTable();
    return built;
}

}  // namespace

std::uint32_t crc32(ByteView bytes, std::uint32_t initialRegister) {
    const Crc32Table& lookup = table();
    std::uint32_t reg = initialRegister;
    for (const std::uint8_t byte : bytes) reg = lookup[(reg ^ byte) & 0xFFu] ^ (reg >> 8);
    return reg ^ 0xFFFFFFFFu;
}

}  // namespace veldra::formats
