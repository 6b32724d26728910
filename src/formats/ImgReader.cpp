#include "formats/ImgReader.h"

#include <algorithm>

#include "platform/PathText.h"

namespace veldra::formats {
namespace fs = std::filesystem;
namespace {

// Reads `length` bytes at `offset`; false when the file has fewer.
bool readAt(std::ifstream& in, std::uint64_t offset, std::uint64_t length, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length));
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out.data() + start), static_cast<std::streamsize>(length));
    return in && static_cast<std::uint64_t>(in.gcount()) == length;
}

}  // namespace

std::vector<std::uint8_t> extractSubfile(ByteView image, const ImgLayout& layout, const ImgSubfile& subfile) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(subfile.size);
    for (const auto& range : subfileRanges(layout, subfile)) {
        const auto first = image.begin() + static_cast<std::ptrdiff_t>(range.offset);
        bytes.insert(bytes.end(), first, first + static_cast<std::ptrdiff_t>(range.length));
    }
    applyImgXor(bytes, layout.xorKey);
    return bytes;
}

ImgLayoutRead parseImgImage(ByteView image) { return parseImgLayout(image, image.size()); }

ImgFile::ImgFile(fs::path path, std::ifstream in, ImgLayout layout)
    : path_(std::move(path)), in_(std::move(in)), layout_(std::move(layout)) {}

ImgFile::Opened ImgFile::open(const fs::path& path) {
    const std::string name = platform::pathText(path);
    std::error_code ec;
    const std::uint64_t size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return {nullptr, "cannot read " + name};

    // The directory's length is known only from its first entry: read the
    // first sector, then up to that entry, then the whole directory.
    std::vector<std::uint8_t> head;
    std::uint64_t wanted = std::min<std::uint64_t>(size, ImgSectorSize);
    std::string error;
    for (;;) {
        if (!readAt(in, head.size(), wanted - head.size(), head)) return {nullptr, "cannot read " + name};
        const auto needed = imgHeadLength(head, size, error);
        if (!needed) return {nullptr, name + ": " + error};
        if (*needed <= head.size()) break;
        wanted = *needed;
    }
    ImgLayoutRead read = parseImgLayout(head, size);
    if (!read.layout) return {nullptr, name + ": " + read.error};
    return {std::unique_ptr<ImgFile>(new ImgFile(path, std::move(in), std::move(*read.layout))), {}};
}

std::optional<std::vector<std::uint8_t>> ImgFile::read(const ImgSubfile& subfile, std::string& error) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(subfile.size);
    for (const auto& range : subfileRanges(layout_, subfile)) {
        if (!readAt(in_, range.offset, range.length, bytes)) {
            error = "cannot read " + subfile.fileName() + " from " + platform::pathText(path_);
            return std::nullopt;
        }
    }
    applyImgXor(bytes, layout_.xorKey);
    return bytes;
}

bool ImgFile::copyTo(const ImgSubfile& subfile, std::ostream& out, std::string& error) {
    constexpr std::uint64_t Piece = 1024 * 1024;
    std::vector<std::uint8_t> piece;
    for (const auto& range : subfileRanges(layout_, subfile)) {
        for (std::uint64_t done = 0; done < range.length;) {
            const std::uint64_t length = std::min(Piece, range.length - done);
            piece.clear();
            if (!readAt(in_, range.offset + done, length, piece)) {
                error = "cannot read " + subfile.fileName() + " from " + platform::pathText(path_);
                return false;
            }
            applyImgXor(piece, layout_.xorKey);
            if (!out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size()))) {
                error = "cannot write " + subfile.fileName();
                return false;
            }
            done += length;
        }
    }
    return true;
}

}  // namespace veldra::formats
