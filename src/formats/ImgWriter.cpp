#include "formats/ImgWriter.h"

#include <algorithm>
#include <cstring>

#include "formats/ImgGeometry.h"
#include "formats/ImgHeaderOffsets.h"

namespace veldra::formats {
namespace {

constexpr std::uint8_t DirectoryEntryFlag = 3;
constexpr std::uint16_t UnusedBlock = 0xFFFF;
constexpr std::uint8_t BlockExponent1 = 9;

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void u8(std::size_t at, std::uint8_t value) { bytes_[at] = value; }
    void u16(std::size_t at, std::uint32_t value) {
        bytes_[at] = static_cast<std::uint8_t>(value);
        bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void u32(std::size_t at, std::uint32_t value) {
        u16(at, value & 0xFFFF);
        u16(at + 2, value >> 16);
    }
    void text(std::size_t at, std::string_view value) { std::memcpy(bytes_.data() + at, value.data(), value.size()); }
    // The text cut or blank padded to `width`.
    void padded(std::size_t at, std::string_view value, std::size_t width) {
        std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at), width, std::uint8_t{' '});
        text(at, value.substr(0, width));
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

void writeDate(Writer& w, const ImgDate& date) {
    w.u8(img::UpdateMonth, date.month);
    w.u8(img::UpdateYear, static_cast<std::uint8_t>(date.year >= 1900 ? date.year - 1900 : 0));
    w.u16(img::CreationTime, date.year);
    w.u8(img::CreationTime + 2, date.month);
    w.u8(img::CreationTime + 3, date.day);
    w.u8(img::CreationTime + 4, date.hour);
    w.u8(img::CreationTime + 5, date.minute);
    w.u8(img::CreationTime + 6, date.second);
}

// The partition entry of a disk that ends at `endSector`, with the
// cylinder/head/sector form of its last sector.
void writePartition(Writer& w, std::uint32_t endSector, const DiskGeometry& geometry) {
    const std::uint32_t last = endSector - 1;
    const std::uint32_t perCylinder = std::uint32_t{geometry.sectors} * geometry.heads;
    const std::uint32_t cylinder = last / perCylinder;
    const std::uint32_t head = (last / geometry.sectors) % geometry.heads;
    const std::uint32_t sector = last % geometry.sectors + 1;
    const std::size_t p = img::Partition;
    w.u8(p + 2, 1);  // start sector 1 of head 0, cylinder 0
    w.u8(p + 5, static_cast<std::uint8_t>(head));
    w.u8(p + 6, static_cast<std::uint8_t>((sector & 0x3F) | ((cylinder >> 2) & 0xC0)));
    w.u8(p + 7, static_cast<std::uint8_t>(cylinder));
    w.u32(img::PartitionEndSector, endSector);
}

void writeHeader(Writer& w, const ImgBlockPlan& plan, const ImgWriteOptions& options) {
    writeDate(w, options.created);
    w.text(img::DiskSignature, std::string_view("DSKIMG\0", 7));
    w.u8(img::DiskVersion, 2);
    const std::uint32_t endSector = imgEndSector(plan);
    const DiskGeometry geometry = imgGeometry(endSector);
    w.u16(img::GeometrySectors, geometry.sectors);
    w.u16(img::GeometryHeads, geometry.heads);
    w.u16(img::GeometryCylinders, geometry.cylinders);
    w.u8(img::DirectorySector, 2);
    w.text(img::MakerSignature, std::string_view("GARMIN\0", 7));
    const std::string_view description = options.description;
    w.padded(img::Description1, description.substr(0, img::Description1Length), img::Description1Length);
    w.padded(img::Description2, description.substr(std::min(description.size(), img::Description1Length)),
             img::Description2Length);
    w.u8(img::DescriptionEnd, 0);
    w.u16(img::RepeatedHeads, geometry.heads);
    w.u16(img::RepeatedSectors, geometry.sectors);
    w.u8(img::BlockExponent1, BlockExponent1);
    unsigned exponent = 0;
    while ((std::uint32_t{1} << exponent) < plan.blockSize) ++exponent;
    w.u8(img::BlockExponent2, static_cast<std::uint8_t>(exponent - BlockExponent1));
    w.u16(img::BlockCount,
          static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{endSector} * ImgSectorSize / plan.blockSize, 0xFFFF)));
    writePartition(w, endSector, geometry);
    w.u8(img::BootSignature, 0x55);
    w.u8(img::BootSignature + 1, 0xAA);
}

// Writes the entries of one subfile (one per 240 blocks) from `entry` on;
// returns the next free entry offset.
std::size_t writeEntries(Writer& w, std::size_t entry, std::string_view name, std::string_view type,
                         std::uint32_t size, std::uint32_t firstBlock, std::uint32_t blocks, std::uint8_t flag) {
    std::uint32_t part = 0;
    for (std::uint32_t done = 0; done < blocks || part == 0; ++part, entry += ImgEntrySize) {
        w.u8(entry + img::EntryUsed, 1);
        w.padded(entry + img::EntryName, name, ImgNameLength);
        w.padded(entry + img::EntryType, type, ImgTypeLength);
        w.u32(entry + img::EntrySize, part == 0 ? size : 0);
        w.u8(entry + img::EntryFlag, flag);
        w.u16(entry + img::EntryPart, part);
        for (std::size_t slot = 0; slot < ImgBlocksPerEntry; ++slot, ++done) {
            w.u16(entry + img::EntryBlocks + 2 * slot, done < blocks ? firstBlock + done : UnusedBlock);
        }
    }
    return entry;
}

}  // namespace

ImgHead buildImgHead(const std::vector<ImgSubfileEntry>& entries, const ImgWriteOptions& options) {
    std::vector<std::uint64_t> sizes;
    for (const auto& entry : entries) {
        if (entry.name.size() > ImgNameLength || entry.type.size() != ImgTypeLength)
            return {{}, 0, "unusable subfile name \"" + entry.name + "." + entry.type + "\""};
        if (entry.size > UINT32_MAX) return {{}, 0, "subfile " + entry.name + "." + entry.type + " is too large"};
        sizes.push_back(entry.size);
    }
    const auto plan = planImgBlocks(sizes);
    if (!plan) return {{}, 0, "the subfiles do not fit in one IMG container"};

    std::vector<std::uint8_t> head(std::size_t{plan->headerBlocks} * plan->blockSize, 0);
    Writer w(head);
    writeHeader(w, *plan, options);
    const std::uint32_t directorySize =
        static_cast<std::uint32_t>((2 + std::size_t{plan->directoryEntries}) * ImgEntrySize);
    std::size_t entry = writeEntries(w, 2 * ImgSectorSize, "", "", directorySize, 0, plan->headerBlocks,
                                     DirectoryEntryFlag);
    std::uint32_t block = plan->headerBlocks;
    for (const auto& file : entries) {
        if (file.size == 0) continue;
        const auto blocks = static_cast<std::uint32_t>((file.size + plan->blockSize - 1) / plan->blockSize);
        entry = writeEntries(w, entry, file.name, file.type, static_cast<std::uint32_t>(file.size), block, blocks, 0);
        block += blocks;
    }
    return {std::move(head), plan->blockSize, {}};
}

ImgBuild buildImg(const std::vector<ImgFileToWrite>& files, const ImgWriteOptions& options) {
    std::vector<ImgSubfileEntry> entries;
    for (const auto& file : files) entries.push_back({file.name, file.type, file.bytes.size()});
    ImgHead head = buildImgHead(entries, options);
    if (head.bytes.empty()) return {{}, std::move(head.error)};
    std::vector<std::uint8_t> image = std::move(head.bytes);
    for (const auto& file : files) {
        if (file.bytes.empty()) continue;
        const std::size_t start = image.size();
        image.resize(start + (file.bytes.size() + head.blockSize - 1) / head.blockSize * head.blockSize, 0);
        std::copy(file.bytes.begin(), file.bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(start));
    }
    return {std::move(image), {}};
}

}  // namespace veldra::formats
