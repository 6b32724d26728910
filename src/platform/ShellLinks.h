#pragma once
// Shell links (.lnk files, MS-SHLLINK): the target path as the host sees it.
// Our own reader, the same on every platform, so a link written by Windows or
// by Wine's shell is read without either of them.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"

namespace veldra::platform {

// Links are a few hundred bytes; a larger file is not read as one.
inline constexpr std::uintmax_t ShellLinkFileLimit = 64 * 1024;

struct ShellLinkTarget {
    std::optional<std::string> path;  // host path, UTF-8
    std::string error;                // why there is none
};

// The target of a link: its LinkInfo path first (local or network), then the
// names of its item ID list, then its relative path taken against
// `linkFolder`, the host path of the folder the link lies in.
ShellLinkTarget readShellLinkTarget(std::span<const std::uint8_t> link, std::string_view linkFolder = {});
ShellLinkTarget readShellLinkFile(const std::filesystem::path& link, std::string_view linkFolder = {});

// A link to `hostTarget`, an absolute host path on a drive ("C:\Maps\Topo.gmap"):
// the header, an item ID list (what Windows itself resolves) and a LinkInfo
// with the local path (what Wine's shell resolves). Nothing for a path
// without a drive or with an empty name in it.
std::optional<std::vector<std::uint8_t>> shellLinkBytes(std::string_view hostTarget, bool targetIsFolder);
// Writes that link to the file `link`, replacing one of that name.
FileResult writeShellLinkFile(const std::filesystem::path& link, std::string_view hostTarget, bool targetIsFolder);

}  // namespace veldra::platform
