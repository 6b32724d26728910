#pragma once
// The sizes an IMG container is laid out with: its block size and the fake
// disk geometry its header announces.

#include <cstdint>
#include <optional>
#include <span>

namespace veldra::formats {

struct ImgBlockPlan {
    std::uint32_t blockSize = 0;
    std::uint32_t directoryEntries = 0;  // the directory's own entry included
    std::uint32_t headerBlocks = 0;      // blocks of header and directory
    std::uint32_t totalBlocks = 0;       // the image is this many blocks long
};

// The smallest block size (512 bytes and up) at which the header and the
// directory fit in the 240 blocks of one entry and the whole image in 0xFFFE
// blocks. Empty subfiles get no entry. Nothing when no block size fits.
std::optional<ImgBlockPlan> planImgBlocks(std::span<const std::uint64_t> subfileSizes);

// Sectors, heads and cylinders whose product exceeds the image's end sector,
// as the host programs expect of a disk image.
struct DiskGeometry {
    std::uint16_t sectors = 0;
    std::uint16_t heads = 0;
    std::uint16_t cylinders = 0;
};

// endSector = ceil((totalBlocks + 1) x blockSize / 512).
std::uint32_t imgEndSector(const ImgBlockPlan& plan);
DiskGeometry imgGeometry(std::uint32_t endSector);

}  // namespace veldra::formats
