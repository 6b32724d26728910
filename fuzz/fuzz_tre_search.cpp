// The streamed TRE signature search: the first byte is the XOR key, the rest
// the file. The result must be the first encoded signature, found by brute force.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "formats/TreDrawPriority.h"

using namespace veldra::formats;

namespace {

std::optional<std::uint64_t> firstSignature(std::string_view file, std::uint8_t key) {
    constexpr std::string_view Signature = "GARMIN TRE";
    for (std::size_t at = 0; at + Signature.size() <= file.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < Signature.size() && match; ++i)
            match = (static_cast<std::uint8_t>(file[at + i]) ^ key) == static_cast<std::uint8_t>(Signature[i]);
        if (match) return at;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t key = data[0];
    const std::string file(data + 1, data + size);
    std::istringstream in(file);
    if (findTreSignature(in, key) != firstSignature(file, key)) std::abort();
    return 0;
}
