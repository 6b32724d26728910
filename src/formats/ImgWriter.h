#pragma once
// Writing IMG containers that mkgmap and the host programs read: directory at
// sector 2 with its own entry first, subfiles in rising contiguous blocks, the
// smallest block size that fits, XOR key 0.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/ImgLayout.h"

namespace veldra::formats {

struct ImgFileToWrite {
    std::string name;  // at most 8 bytes; blank padded when shorter
    std::string type;  // exactly 3 bytes
    std::vector<std::uint8_t> bytes;
};

struct ImgWriteOptions {
    std::string description;  // code page bytes; the first 50 are kept
    ImgDate created;
};

struct ImgBuild {
    std::vector<std::uint8_t> image;  // empty on failure
    std::string error;
};

// Subfiles are written in the given order; an empty one gets no entry.
ImgBuild buildImg(const std::vector<ImgFileToWrite>& files, const ImgWriteOptions& options);

// For images too large to hold in memory: the head (header and directory,
// whole blocks) of a container of subfiles of these names and sizes. The
// subfiles follow it in the given order, each from a block boundary and
// padded with zeros to whole blocks; an empty one takes no block.
struct ImgSubfileEntry {
    std::string name;
    std::string type;
    std::uint64_t size = 0;
};

struct ImgHead {
    std::vector<std::uint8_t> bytes;  // empty on failure
    std::uint32_t blockSize = 0;
    std::string error;
};

ImgHead buildImgHead(const std::vector<ImgSubfileEntry>& entries, const ImgWriteOptions& options);

}  // namespace veldra::formats
