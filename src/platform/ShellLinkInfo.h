#pragma once
// The LinkInfo structure of a shell link: where the target lies on a local
// volume or a network share.

#include <optional>
#include <string>

#include "platform/ShellLinkBytes.h"

namespace veldra::platform::shelllink {

// `info` is the whole LinkInfo structure (its size field first). Nothing when
// it names no path or does not hold together.
std::optional<std::string> linkInfoTarget(Bytes info);

}  // namespace veldra::platform::shelllink
