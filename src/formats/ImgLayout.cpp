#include "formats/ImgLayout.h"

#include <algorithm>
#include <map>
#include <utility>

#include "formats/ImgHeaderOffsets.h"

namespace veldra::formats {
namespace {

constexpr std::uint16_t UnusedBlock = 0xFFFF;
constexpr unsigned MinBlockExponent = 9;
constexpr unsigned MaxBlockExponent = 30;

std::string trimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

std::string bytesAt(ByteView bytes, std::size_t offset, std::size_t length) {
    return {reinterpret_cast<const char*>(bytes.data() + offset), length};
}

bool hasSignature(ByteView head, std::size_t offset, std::string_view signature) {
    return head.size() >= offset + signature.size() && bytesAt(head, offset, signature.size()) == signature;
}

std::string subfileLabel(const std::string& name, const std::string& type) {
    return trimRight(name) + "." + type;
}

struct Part {
    std::uint16_t number = 0;
    std::uint32_t size = 0;
    std::vector<std::uint16_t> blocks;
};

struct Group {
    std::string name;
    std::string type;
    std::vector<Part> parts;
};

std::vector<std::uint16_t> entryBlocks(ByteView entry) {
    std::vector<std::uint16_t> blocks;
    for (std::size_t i = 0; i < ImgBlocksPerEntry; ++i) {
        const std::uint16_t block = *u16At(entry, img::EntryBlocks + 2 * i);
        if (block == UnusedBlock) break;
        blocks.push_back(block);
    }
    return blocks;
}

ImgDate dateAt(ByteView head) {
    ImgDate date;
    date.year = *u16At(head, img::CreationTime);
    date.month = head[img::CreationTime + 2];
    date.day = head[img::CreationTime + 3];
    date.hour = head[img::CreationTime + 4];
    date.minute = head[img::CreationTime + 5];
    date.second = head[img::CreationTime + 6];
    return date;
}

// Joins the parts of one subfile in part order; an error when a part is
// missing or given twice.
std::optional<ImgSubfile> joinParts(Group group, std::string& error) {
    std::sort(group.parts.begin(), group.parts.end(),
              [](const Part& a, const Part& b) { return a.number < b.number; });
    ImgSubfile subfile{group.name, group.type, 0, {}};
    for (std::size_t i = 0; i < group.parts.size(); ++i) {
        if (group.parts[i].number != i) {
            error = "subfile " + subfileLabel(group.name, group.type) + " lacks directory part " + std::to_string(i) +
                    " or has it twice";
            return std::nullopt;
        }
        const auto& blocks = group.parts[i].blocks;
        subfile.blocks.insert(subfile.blocks.end(), blocks.begin(), blocks.end());
    }
    subfile.size = group.parts.front().size;
    return subfile;
}

bool rangesFit(const ImgLayout& layout, const ImgSubfile& subfile, std::string& error) {
    const std::uint64_t capacity = std::uint64_t{subfile.blocks.size()} * layout.blockSize;
    if (capacity < subfile.size) {
        error = "subfile " + subfile.fileName() + " of " + std::to_string(subfile.size) + " bytes lists only " +
                std::to_string(subfile.blocks.size()) + " blocks";
        return false;
    }
    for (const auto& range : subfileRanges(layout, subfile)) {
        if (range.offset > layout.imageSize || layout.imageSize - range.offset < range.length) {
            error = "subfile " + subfile.fileName() + " reaches past the end of the image";
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> plainCopy(ByteView stored) {
    std::vector<std::uint8_t> plain(stored.begin(), stored.end());
    if (!plain.empty()) applyImgXor(plain, stored[img::XorKey]);
    return plain;
}

}  // namespace

std::string ImgSubfile::trimmedName() const { return trimRight(name); }

std::string ImgSubfile::fileName() const { return subfileLabel(name, type); }

const ImgSubfile* ImgLayout::find(std::string_view type, std::string_view trimmed) const {
    for (const auto& subfile : subfiles) {
        if (subfile.type == type && (trimmed.empty() || subfile.trimmedName() == trimmed)) return &subfile;
    }
    return nullptr;
}

void applyImgXor(std::span<std::uint8_t> bytes, std::uint8_t key) {
    if (key == 0) return;
    for (auto& byte : bytes) byte ^= key;
}

std::optional<std::uint64_t> imgHeadLength(ByteView rawHead, std::uint64_t imageSize, std::string& error) {
    const std::vector<std::uint8_t> plain = plainCopy(rawHead.first(std::min(rawHead.size(), ImgSectorSize)));
    const ByteView head = plain;
    if (head.size() < ImgSectorSize || imageSize < ImgSectorSize) {
        error = "too short for an IMG container";
        return std::nullopt;
    }
    if (!hasSignature(head, img::DiskSignature, "DSKIMG") || !hasSignature(head, img::MakerSignature, "GARMIN")) {
        error = "not an IMG container (no DSKIMG/GARMIN signature)";
        return std::nullopt;
    }
    const std::uint64_t directory = std::uint64_t{head[img::DirectorySector]} * ImgSectorSize;
    if (directory < ImgSectorSize || imageSize - ImgEntrySize < directory) {
        error = "the directory start lies outside the image";
        return std::nullopt;
    }
    if (rawHead.size() < directory + ImgEntrySize) return directory + ImgEntrySize;
    const std::uint32_t end = *u32At(rawHead, static_cast<std::size_t>(directory) + img::EntrySize) ^
                              (0x01010101u * rawHead[img::XorKey]);
    if (end < directory + ImgEntrySize || end > imageSize) {
        error = "the directory size " + std::to_string(end) + " does not fit the image";
        return std::nullopt;
    }
    return end;
}

ImgLayoutRead parseImgLayout(ByteView rawHead, std::uint64_t imageSize) {
    ImgLayoutRead read;
    const auto headLength = imgHeadLength(rawHead, imageSize, read.error);
    if (!headLength) return read;
    if (rawHead.size() < *headLength) {
        read.error = "the image ends inside its directory";
        return read;
    }
    const std::vector<std::uint8_t> plain = plainCopy(rawHead.first(static_cast<std::size_t>(*headLength)));
    const ByteView head = plain;
    const unsigned exponent = unsigned{head[img::BlockExponent1]} + head[img::BlockExponent2];
    if (exponent < MinBlockExponent || exponent > MaxBlockExponent) {
        read.error = "unusable block size 2^" + std::to_string(exponent);
        return read;
    }

    ImgLayout layout;
    layout.xorKey = rawHead[img::XorKey];
    layout.blockSize = std::uint32_t{1} << exponent;
    layout.imageSize = imageSize;
    layout.description = trimRight(bytesAt(head, img::Description1, img::Description1Length) +
                                   bytesAt(head, img::Description2, img::Description2Length));
    layout.created = dateAt(head);

    std::vector<Group> groups;
    std::map<std::string, std::size_t> groupOf;
    const std::size_t directory = std::size_t{head[img::DirectorySector]} * ImgSectorSize;
    for (std::size_t at = directory; at + ImgEntrySize <= *headLength; at += ImgEntrySize) {
        const ByteView entry = head.subspan(at, ImgEntrySize);
        if (entry[img::EntryUsed] != 1) continue;
        const std::string name = bytesAt(entry, img::EntryName, ImgNameLength);
        const std::string type = bytesAt(entry, img::EntryType, ImgTypeLength);
        if (trimRight(name).empty() && trimRight(type).empty()) continue;  // the directory's own entry
        const auto [it, added] = groupOf.try_emplace(name + type, groups.size());
        if (added) groups.push_back({name, type, {}});
        groups[it->second].parts.push_back(
            {*u16At(entry, img::EntryPart), *u32At(entry, img::EntrySize), entryBlocks(entry)});
    }
    for (auto& group : groups) {
        auto subfile = joinParts(std::move(group), read.error);
        if (!subfile || !rangesFit(layout, *subfile, read.error)) return read;
        layout.subfiles.push_back(std::move(*subfile));
    }
    read.layout = std::move(layout);
    return read;
}

std::vector<ByteRange> subfileRanges(const ImgLayout& layout, const ImgSubfile& subfile) {
    std::vector<ByteRange> ranges;
    std::uint64_t remaining = subfile.size;
    for (const std::uint16_t block : subfile.blocks) {
        if (remaining == 0) break;
        const std::uint64_t length = std::min<std::uint64_t>(remaining, layout.blockSize);
        const std::uint64_t offset = std::uint64_t{block} * layout.blockSize;
        // Blocks that follow one another are read or copied in one go.
        if (!ranges.empty() && ranges.back().offset + ranges.back().length == offset)
            ranges.back().length += length;
        else
            ranges.push_back({offset, length});
        remaining -= length;
    }
    return ranges;
}

}  // namespace veldra::formats
