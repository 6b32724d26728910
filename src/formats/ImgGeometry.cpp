#include "formats/ImgGeometry.h"

#include <array>

#include "formats/ImgLayout.h"

namespace veldra::formats {
namespace {

constexpr unsigned FirstBlockExponent = 9;
constexpr unsigned LastBlockExponent = 24;
constexpr std::uint64_t MaxImageBlocks = 0xFFFE;
constexpr std::uint64_t DirectoryStartSectors = 2;

std::uint64_t ceilDiv(std::uint64_t value, std::uint64_t divisor) { return (value + divisor - 1) / divisor; }

}  // namespace

std::optional<ImgBlockPlan> planImgBlocks(std::span<const std::uint64_t> subfileSizes) {
    for (unsigned exponent = FirstBlockExponent; exponent <= LastBlockExponent; ++exponent) {
        const std::uint64_t blockSize = std::uint64_t{1} << exponent;
        std::uint64_t entries = 1;
        std::uint64_t dataBlocks = 0;
        for (const std::uint64_t size : subfileSizes) {
            const std::uint64_t blocks = ceilDiv(size, blockSize);
            entries += ceilDiv(blocks, ImgBlocksPerEntry);
            dataBlocks += blocks;
        }
        const std::uint64_t headerBlocks = ceilDiv((DirectoryStartSectors + entries) * ImgEntrySize, blockSize);
        if (headerBlocks > ImgBlocksPerEntry || headerBlocks + dataBlocks > MaxImageBlocks) continue;
        return ImgBlockPlan{static_cast<std::uint32_t>(blockSize), static_cast<std::uint32_t>(entries),
                            static_cast<std::uint32_t>(headerBlocks),
                            static_cast<std::uint32_t>(headerBlocks + dataBlocks)};
    }
    return std::nullopt;
}

std::uint32_t imgEndSector(const ImgBlockPlan& plan) {
    return static_cast<std::uint32_t>(
        ceilDiv((std::uint64_t{plan.totalBlocks} + 1) * plan.blockSize, ImgSectorSize));
}

DiskGeometry imgGeometry(std::uint32_t endSector) {
    constexpr std::array<std::uint16_t, 5> heads = {16, 32, 64, 128, 256};
    constexpr std::array<std::uint16_t, 4> sectors = {4, 8, 16, 32};
    constexpr std::array<std::uint16_t, 6> cylinders = {0x20, 0x40, 0x80, 0x100, 0x200, 0x3FF};
    for (const auto h : heads) {
        for (const auto s : sectors) {
            for (const auto c : cylinders) {
                if (std::uint64_t{h} * s * c > endSector) return {s, h, c};
            }
        }
    }
    return {sectors.back(), heads.back(), cylinders.back()};
}

}  // namespace veldra::formats
