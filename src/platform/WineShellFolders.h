#pragma once
// Where a Wine prefix keeps the special folders the program uses: the values
// of the Explorer "User Shell Folders" and "Shell Folders" keys, read as Wine's
// shell does, with the folders of a fresh Wine 8 prefix when they are absent.
// Older prefixes keep their older folders ("...\Application Data") in the same
// values, so reading the values finds those too.

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace veldra::platform {

inline constexpr std::string_view ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr std::string_view UserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The host path ("C:\...") of csidl::AppData, LocalAppData or CommonAppData in
// the prefix whose registry is given; empty for any other number.
std::string shellFolderHostPath(const Registry& registry, int csidl, std::string_view userName);

// The folder a fresh Wine 8 prefix gives the user; empty for an unknown number.
std::string defaultShellFolderHostPath(int csidl, std::string_view userName);

// Stores the "Shell Folders" values of the three folders with the defaults, as
// a new prefix needs them. Returns the first registry error, or Success.
long writeDefaultShellFolderValues(Registry& registry, std::string_view userName);

}  // namespace veldra::platform
