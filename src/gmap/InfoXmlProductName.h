#pragma once
// The product name export and import show and name a package's shortcut by:
// the text of the first <Name> after the first <SubProduct> of Info.xml.

#include <optional>
#include <string>
#include <string_view>

namespace veldra::gmap {

// Nothing when the file has no <SubProduct> or no whole <Name> after it.
std::optional<std::string> firstSubProductName(std::string_view infoXml);

}  // namespace veldra::gmap
