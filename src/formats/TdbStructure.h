#pragma once
// Whether a file is a TDB at all: a file chosen as one is checked before
// anything in it is read as a header field or written.

#include <filesystem>

#include "core/Result.h"
#include "formats/LittleEndian.h"

namespace veldra::formats {

// A run of whole blocks from the first byte to the last, the first of them the
// header block and long enough to hold the IDs.
bool isTdbBlockRun(ByteView bytes);

// Fails with a text naming the file when it cannot be read or is no TDB.
Status checkTdbFile(const std::filesystem::path& tdb);

}  // namespace veldra::formats
