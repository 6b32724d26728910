#pragma once
// The path texts of platform/, under the names the format readers use.

#include "platform/PathText.h"

namespace veldra::formats {

using platform::pathFromText;
using platform::pathText;

}  // namespace veldra::formats
