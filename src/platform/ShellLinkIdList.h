#pragma once
// The item ID list of a shell link, read as far as it names a file system
// path: the computer, a drive, then one item per folder or file.

#include <optional>
#include <string>

#include "platform/ShellLinkBytes.h"

namespace veldra::platform::shelllink {

// `idList` is the list without its leading size field. Nothing when it does
// not start at the computer and a drive, or holds an item of another kind.
std::optional<std::string> idListTarget(Bytes idList);

}  // namespace veldra::platform::shelllink
