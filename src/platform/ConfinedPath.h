#pragma once
// Paths named by the contents of a file or by the registry, held inside the
// folder they belong to before anything is written, renamed or deleted
// through them.

#include <filesystem>
#include <string_view>

#include "core/Result.h"

namespace veldra::platform {

// `text` (UTF-8) is a path as a file or the registry holds it: relative to
// `base` or absolute, with backslashes or slashes, ".", ".." and repeated
// separators. It is normalised lexically, without asking the file system,
// and comes back as `base` joined with its remaining names, or `base` itself,
// only when every step stays inside `base`. Refused, with a failure that names
// the text and the folder:
// - a ".." that climbs above `base`, even when later names lead back in (after
//   a symbolic link ".." does not mean what it means lexically);
// - an absolute text whose leading names are not exactly those of `base`
//   (letter case counts, as it does in the comparison of names anywhere);
// - a text with a drive ("C:..."), unless it is absolute on a system with
//   drives and starts with the drive of `base`; a share ("\\server\...");
// - a name made only of dots and blanks other than "." and "..", which Windows
//   trims to something else, and a NUL character.
// Symbolic links inside `base` are followed as they lie: they are the user's
// own arrangement of the folder, not something a file's contents can make.
Result<std::filesystem::path> confinedPath(const std::filesystem::path& base, std::string_view text);

}  // namespace veldra::platform
