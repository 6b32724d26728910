#pragma once
// The byte readers every format shares, under the names the format code uses.

#include "platform/LittleEndian.h"

namespace veldra::formats {

using platform::ByteView;
using platform::u16At;
using platform::u16Bytes;
using platform::u32At;

}  // namespace veldra::formats
