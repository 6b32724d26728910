#pragma once
// Paths as UTF-8 text and back: messages, command lines and the files the
// host reads speak UTF-8 inside the program, whatever the file system uses.

#include <filesystem>
#include <string>
#include <string_view>

namespace veldra::platform {

inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

inline std::filesystem::path pathFromText(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace veldra::platform
