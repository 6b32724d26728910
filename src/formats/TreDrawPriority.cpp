#include "formats/TreDrawPriority.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/PathText.h"
#include "platform/Text.h"

namespace veldra::formats {
namespace {

constexpr std::string_view TreSignature = "GARMIN TRE";
constexpr std::size_t ReadPiece = 16 * 1024;

DrawPriorityReading failure(DrawPriorityStatus status, std::string error, std::optional<std::uint8_t> key = {}) {
    DrawPriorityReading reading;
    reading.status = status;
    reading.xorByte = key;
    reading.error = std::move(error);
    return reading;
}

DrawPriorityReading locate(const std::filesystem::path& file, bool xorEncoded) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return failure(DrawPriorityStatus::FileMissing, platform::pathText(file) + " does not exist");
    std::ifstream in(file, std::ios::binary);
    if (!in) return failure(DrawPriorityStatus::Unreadable, "cannot open " + platform::pathText(file));

    std::optional<std::uint8_t> xorByte;
    if (xorEncoded) {
        char first = 0;
        if (!in.get(first)) return failure(DrawPriorityStatus::NoSignature, platform::pathText(file) + " is empty");
        xorByte = static_cast<std::uint8_t>(first);
        in.seekg(0);
    }
    const std::uint8_t key = xorByte.value_or(0);
    const auto signature = findTreSignature(in, key);
    if (!signature) return failure(DrawPriorityStatus::NoSignature, "no TRE header in " + platform::pathText(file), xorByte);

    const std::uint64_t offset = *signature + DrawPriorityDistance;
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    char stored = 0;
    if (!in.get(stored))
        return failure(DrawPriorityStatus::Truncated, platform::pathText(file) + " ends inside its TRE header", xorByte);

    DrawPriorityReading reading;
    reading.status = DrawPriorityStatus::Found;
    reading.xorByte = xorByte;
    reading.byteOffset = offset;
    reading.value = static_cast<std::uint8_t>(static_cast<std::uint8_t>(stored) ^ key);
    return reading;
}

platform::FileResult writeAt(const DrawPriorityReading& found, const std::filesystem::path& file, std::uint8_t value) {
    if (found.status != DrawPriorityStatus::Found) return {false, found.error};
    const std::array<std::uint8_t, 1> stored = {static_cast<std::uint8_t>(value ^ found.xorByte.value_or(0))};
    return platform::patchFileInPlace(file, found.byteOffset, stored);
}

}  // namespace

std::optional<std::uint64_t> findTreSignature(std::istream& in, std::uint8_t key) {
    std::array<char, TreSignature.size()> pattern{};
    std::transform(TreSignature.begin(), TreSignature.end(), pattern.begin(),
                   [key](char c) { return static_cast<char>(static_cast<std::uint8_t>(c) ^ key); });
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());

    // The window keeps the last bytes of the previous piece, so a signature
    // split between two pieces is still found.
    std::vector<char> window;
    std::uint64_t windowStart = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    std::vector<char> piece(ReadPiece);
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        window.insert(window.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
        const auto hit = std::search(window.begin(), window.end(), searcher);
        if (hit != window.end()) return windowStart + static_cast<std::uint64_t>(hit - window.begin());
        const std::size_t keep = std::min(window.size(), pattern.size() - 1);
        windowStart += window.size() - keep;
        window.erase(window.begin(), window.end() - static_cast<std::ptrdiff_t>(keep));
    }
    return std::nullopt;
}

DrawPriorityReading readImgDrawPriority(const std::filesystem::path& img) { return locate(img, true); }

DrawPriorityReading readGmapDrawPriority(const std::filesystem::path& tile) { return locate(tile, false); }

platform::FileResult writeImgDrawPriority(const std::filesystem::path& img, std::uint8_t value) {
    return writeAt(locate(img, true), img, value);
}

platform::FileResult writeGmapDrawPriority(const std::filesystem::path& tile, std::uint8_t value) {
    return writeAt(locate(tile, false), tile, value);
}

bool isGmapTreFile(const std::filesystem::path& file) {
    const std::string name = platform::pathText(file.filename());
    if (name.size() < 3) return false;
    const std::string_view ending = std::string_view(name).substr(name.size() - 3);
    return platform::equalsIgnoringAsciiCase(ending, "tre") || platform::equalsIgnoringAsciiCase(ending, "gmp");
}

}  // namespace veldra::formats
