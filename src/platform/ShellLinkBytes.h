#pragma once
// Bounds-checked reads inside the bytes of a shell link. Every read gives
// nothing when it would reach past the end of its span.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/LittleEndian.h"

namespace veldra::platform::shelllink {

using Bytes = std::span<const std::uint8_t>;
using platform::u16At;
using platform::u32At;

// The part [offset, offset + length) of the bytes.
std::optional<Bytes> sliceAt(Bytes bytes, std::size_t offset, std::size_t length);
// A zero-terminated code page 1252 string as UTF-8.
std::optional<std::string> ansiStringAt(Bytes bytes, std::size_t offset);
// A zero-terminated UTF-16LE string as UTF-8.
std::optional<std::string> unicodeStringAt(Bytes bytes, std::size_t offset);
// `count` characters, UTF-16LE or code page 1252, as UTF-8; trailing NULs dropped.
std::optional<std::string> countedStringAt(Bytes bytes, std::size_t offset, std::size_t count, bool unicode);

}  // namespace veldra::platform::shelllink
