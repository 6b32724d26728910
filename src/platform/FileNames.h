#pragma once
// File name matters that differ between the host's file system (letter case
// ignored) and this one.

#include <filesystem>
#include <optional>
#include <string_view>

namespace veldra::platform {

// The existing file whose name equals the path's name without regard to case,
// in the path's folder; the path itself when it exists as written.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& path);

// The program found on PATH, as a shell would find it.
std::optional<std::filesystem::path> findOnPath(std::string_view program);

}  // namespace veldra::platform
