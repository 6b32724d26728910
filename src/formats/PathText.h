#pragma once
// A path as UTF-8 text, for messages.

#include <filesystem>
#include <string>

namespace veldra::formats {

inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace veldra::formats
