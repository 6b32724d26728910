#pragma once
// What a FID change reads and edits in a package's Info.xml and Info_v2.xml:
// code page 1252 bytes, searched as plain substrings like the package reader does.

#include <optional>
#include <string>
#include <string_view>

#include "core/Result.h"

namespace veldra::registration {

// The first "<ID>" + oldFid + "</ID>" becomes "<ID>" + newFid + "</ID>", and
// CR LF is appended as every rewrite of these files ends.
std::string replaceFirstFamilyId(std::string_view xml, std::string_view oldFid, std::string_view newFid);

// The type file the description names, relative to the package folder: the
// text between the first "<TYP>" and the "</TYP>" after it. Nothing without a
// "<TYP>" or when it starts within the first five characters; a failure when
// the element has no end.
Result<std::optional<std::string>> typeFileNamedIn(std::string_view xml);

}  // namespace veldra::registration
