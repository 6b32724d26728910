#pragma once
// The layout of an IMG container: its header fields and the directory of its
// subfiles, with every block of every subfile checked against the image size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/LittleEndian.h"

namespace veldra::formats {

inline constexpr std::size_t ImgSectorSize = 512;
inline constexpr std::size_t ImgEntrySize = 512;
inline constexpr std::size_t ImgBlocksPerEntry = 240;
inline constexpr std::size_t ImgNameLength = 8;
inline constexpr std::size_t ImgTypeLength = 3;

// Creation time as the header stores it (month 1..12).
struct ImgDate {
    std::uint16_t year = 2000;
    std::uint8_t month = 1;
    std::uint8_t day = 1;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    friend bool operator==(const ImgDate&, const ImgDate&) = default;
};

struct ImgSubfile {
    std::string name;  // the 8 stored bytes, blank padding included
    std::string type;  // "TRE", "RGN", "MPS", ...
    std::uint32_t size = 0;
    std::vector<std::uint16_t> blocks;  // the block lists of all parts, in part order

    // The name without its blank padding.
    std::string trimmedName() const;
    // "<trimmed name>.<type>", the name a subfile has as a file of its own.
    std::string fileName() const;
};

struct ImgLayout {
    std::uint8_t xorKey = 0;
    std::uint32_t blockSize = 0;
    std::uint64_t imageSize = 0;
    std::string description;  // both description parts joined, trailing blanks cut (code page bytes)
    ImgDate created;
    std::vector<ImgSubfile> subfiles;  // in the order of their first directory entry

    // The first subfile with this type (and name, when given without padding).
    const ImgSubfile* find(std::string_view type, std::string_view trimmedName = {}) const;
};

struct ImgLayoutRead {
    std::optional<ImgLayout> layout;
    std::string error;
};

// The bytes XORed with `key`, as stored in and read from an image whose first byte is `key`.
void applyImgXor(std::span<std::uint8_t> bytes, std::uint8_t key);

// How many leading bytes the layout needs: the end of the directory. `head`
// holds at least the first sector of the image as stored; while it ends
// before the first directory entry, the answer is where that entry ends.
// Nothing for a file that is no IMG container.
std::optional<std::uint64_t> imgHeadLength(ByteView head, std::uint64_t imageSize, std::string& error);

// `head`: the leading bytes of an image of `imageSize` bytes as stored, at
// least imgHeadLength of them.
ImgLayoutRead parseImgLayout(ByteView head, std::uint64_t imageSize);

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Where the subfile's bytes lie in the image, in order, blocks that follow one
// another as one range; the last block is cut to the subfile's size. The layout parser has checked every range.
std::vector<ByteRange> subfileRanges(const ImgLayout& layout, const ImgSubfile& subfile);

}  // namespace veldra::formats
