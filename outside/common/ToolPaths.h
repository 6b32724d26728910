#pragma once
// Paths on the command lines and in the list files of the outside programs:
// host paths ("Z:\maps\x.img", "C:\ProgramData\...") when they come from a host
// program or through Wine, native paths otherwise. Both are accepted.

#include <filesystem>
#include <string_view>

namespace veldra::outside {

// A drive-letter path or a "\\?\unix\" path.
bool isHostPath(std::string_view utf8);

// On POSIX systems a host path is mapped through the Wine prefix in use
// ($WINEPREFIX, else VELDRA's own), drive Z: to "/" even without a prefix;
// anything else is taken as a native path.
std::filesystem::path nativeToolPath(std::string_view utf8);

// The program's own executable; `argv0` is the fall-back where the system cannot tell.
std::filesystem::path ownExecutable(const char* argv0);

}  // namespace veldra::outside
