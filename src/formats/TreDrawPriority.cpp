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
// mkgmap's tiles hold their TRE header within the first few kilobytes: one
// piece is one read for nearly every tile.
constexpr std::size_t ReadPiece = 16 * 1024;

DrawPriorityReading failure(DrawPriorityStatus status, std::string error, std::optional<std::uint8_t> key = {}) {
    DrawPriorityReading reading;
    reading.status = status;
    reading.xorByte = key;
    reading.error = std::move(error);
    return reading;
}

// What a pass over a stream found: the XOR key in use, where the first
// signature starts and the byte `distance` bytes after it, when the stream
// reached so far.
struct SignatureScan {
    std::optional<std::uint8_t> key;
    std::optional<std::uint64_t> signature;
    std::optional<std::uint8_t> byteAfter;
};

// Reads `in` in pieces from its current position and stops as soon as the
// first signature and the byte `distance` after it have been read. Without a
// key the first byte read is the key (an IMG file's XOR byte).
SignatureScan scanForSignature(std::istream& in, std::optional<std::uint8_t> key, std::uint64_t distance) {
    SignatureScan scan;
    scan.key = key;
    std::array<char, TreSignature.size()> pattern{};
    // The window keeps the last bytes of the previous piece, so a signature
    // split between two pieces is still found.
    std::vector<char> window;
    std::uint64_t windowStart = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    while (in) {
        const std::size_t kept = window.size();
        window.resize(kept + ReadPiece);
        in.read(window.data() + kept, static_cast<std::streamsize>(ReadPiece));
        window.resize(kept + static_cast<std::size_t>(in.gcount()));
        if (window.size() == kept) break;
        if (!scan.key) scan.key = static_cast<std::uint8_t>(window.front());
        if (!scan.signature) {
            std::transform(TreSignature.begin(), TreSignature.end(), pattern.begin(),
                           [k = *scan.key](char c) { return static_cast<char>(static_cast<std::uint8_t>(c) ^ k); });
            const auto hit = std::search(window.begin(), window.end(),
                                         std::boyer_moore_horspool_searcher(pattern.begin(), pattern.end()));
            if (hit == window.end()) {
                // Only the bytes that may still begin a signature stay.
                const std::size_t keep = std::min(window.size(), pattern.size() - 1);
                windowStart += window.size() - keep;
                std::copy(window.end() - static_cast<std::ptrdiff_t>(keep), window.end(), window.begin());
                window.resize(keep);
                continue;
            }
            scan.signature = windowStart + static_cast<std::uint64_t>(hit - window.begin());
        }
        const std::uint64_t wanted = *scan.signature + distance - windowStart;
        if (wanted < window.size()) {
            scan.byteAfter = static_cast<std::uint8_t>(window[static_cast<std::size_t>(wanted)]);
            return scan;
        }
    }
    return scan;
}

// One open and, for nearly every tile, one read.
DrawPriorityReading locate(const std::filesystem::path& file, bool xorEncoded) {
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);  // the pieces are read straight into the window
    in.open(file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return failure(DrawPriorityStatus::FileMissing, platform::pathText(file) + " does not exist");
        return failure(DrawPriorityStatus::Unreadable, "cannot open " + platform::pathText(file));
    }
    const SignatureScan scan =
        scanForSignature(in, xorEncoded ? std::nullopt : std::optional<std::uint8_t>(0), DrawPriorityDistance);
    const std::optional<std::uint8_t> xorByte = xorEncoded ? scan.key : std::nullopt;
    if (!scan.key) return failure(DrawPriorityStatus::NoSignature, platform::pathText(file) + " is empty");
    if (!scan.signature) return failure(DrawPriorityStatus::NoSignature, "no TRE header in " + platform::pathText(file), xorByte);
    if (!scan.byteAfter)
        return failure(DrawPriorityStatus::Truncated, platform::pathText(file) + " ends inside its TRE header", xorByte);

    DrawPriorityReading reading;
    reading.status = DrawPriorityStatus::Found;
    reading.xorByte = xorByte;
    reading.byteOffset = *scan.signature + DrawPriorityDistance;
    reading.value = static_cast<std::uint8_t>(*scan.byteAfter ^ *scan.key);
    return reading;
}

platform::FileResult writeAt(const DrawPriorityReading& found, const std::filesystem::path& file, std::uint8_t value) {
    if (found.status != DrawPriorityStatus::Found) return {false, found.error};
    const std::array<std::uint8_t, 1> stored = {static_cast<std::uint8_t>(value ^ found.xorByte.value_or(0))};
    return platform::patchFileInPlace(file, found.byteOffset, stored);
}

}  // namespace

std::optional<std::uint64_t> findTreSignature(std::istream& in, std::uint8_t key) {
    return scanForSignature(in, key, 0).signature;
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
