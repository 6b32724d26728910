#pragma once
// Little-endian numbers inside byte buffers, read only where they lie wholly
// inside the buffer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace veldra::platform {

using ByteView = std::span<const std::uint8_t>;

inline std::optional<std::uint16_t> u16At(ByteView bytes, std::size_t offset) {
    if (offset >= bytes.size() || bytes.size() - offset < 2) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::optional<std::uint32_t> u32At(ByteView bytes, std::size_t offset) {
    if (offset >= bytes.size() || bytes.size() - offset < 4) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// The two bytes of a 16-bit number as the files store them: low byte first.
inline std::array<std::uint8_t, 2> u16Bytes(std::uint16_t value) {
    return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
}

}  // namespace veldra::platform
