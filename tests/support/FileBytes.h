#pragma once
// Whole files in and out for the tests.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace veldra::testing {

// Empty when the file cannot be read.
inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The FID (or PID) stored at `at`, low byte first; -1 past the end.
inline int fidAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return at + 1 < bytes.size() ? bytes[at] | bytes[at + 1] << 8 : -1;
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    writeBytes(file, {text.begin(), text.end()});
}

}  // namespace veldra::testing
