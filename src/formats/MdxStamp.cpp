#include "formats/MdxStamp.h"

#include <system_error>

#include "formats/FileSizeLimits.h"
#include "platform/PathText.h"

namespace veldra::formats {
namespace {

std::size_t recordStart(std::size_t index) { return MdxFirstRecord + MdxRecordSize * index; }

// Where the bytes end that a reader of `count` whole records needs.
std::size_t wholeRecordsEnd(std::size_t count) { return recordStart(count); }

// Where the bytes end that the stamp needs: the FID of the last counted record.
std::size_t fidsEnd(std::size_t count) {
    return count == 0 ? 0 : recordStart(count - 1) + MdxRecordFidOffset + 2;
}

// The record count, checked against the length of the file.
std::optional<std::size_t> countedRecords(ByteView head, std::uintmax_t fileSize, std::size_t (*neededEnd)(std::size_t),
                                          std::string& error) {
    const auto count = u16At(head, MdxCountOffset);
    if (!count) {
        error = "too short for an index file";
        return std::nullopt;
    }
    if (neededEnd(*count) > fileSize) {
        error = "counts " + std::to_string(*count) + " records but holds only " +
                std::to_string(fileSize < MdxFirstRecord ? 0 : (fileSize - MdxFirstRecord) / MdxRecordSize);
        return std::nullopt;
    }
    return *count;
}

}  // namespace

MdxRead parseMdx(ByteView mdx) {
    std::string error;
    const auto count = countedRecords(mdx, mdx.size(), wholeRecordsEnd, error);
    if (!count) return {std::nullopt, error};
    std::vector<MdxRecord> records;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t start = recordStart(i);
        records.push_back({*u32At(mdx, start), *u16At(mdx, start + 4), *u16At(mdx, start + MdxRecordFidOffset),
                           *u32At(mdx, start + 8)});
    }
    return {std::move(records), {}};
}

MdxRead readMdx(const std::filesystem::path& mdx) {
    const auto bytes = platform::readFileCapped(mdx, MdxFileLimit);
    if (!bytes) return {std::nullopt, bytes.failure().detail};
    MdxRead result = parseMdx(*bytes);
    if (!result.records) result.error = platform::pathText(mdx) + " " + result.error;
    return result;
}

platform::FileResult writeMdxFid(const std::filesystem::path& mdx, std::uint16_t fid) {
    std::error_code ec;
    static_cast<void>(std::filesystem::file_size(mdx, ec));  // the message of a missing file names the cause
    if (ec) return {false, "cannot open " + platform::pathText(mdx) + ": " + ec.message()};
    auto read = platform::readFileCapped(mdx, MdxFileLimit);
    if (!read) return {false, read.failure().detail};
    std::vector<std::uint8_t> image = std::move(read).value();

    std::string error;
    const auto count = countedRecords(image, image.size(), fidsEnd, error);
    if (!count) return {false, platform::pathText(mdx) + " " + error};
    const auto stamp = u16Bytes(fid);
    for (std::size_t i = 0; i < *count; ++i) {
        image[recordStart(i) + MdxRecordFidOffset] = stamp[0];
        image[recordStart(i) + MdxRecordFidOffset + 1] = stamp[1];
    }
    // One replace for all records: a crash never leaves some with the new FID and some with the old.
    return platform::replaceFileAtomically(mdx, image);
}

}  // namespace veldra::formats
