#pragma once
// What the catalog takes from a package's Info.xml: plain case-sensitive
// substring searches for the few tags it needs, not an XML parse, so a file
// laid out as the package writer lays it out reads the same everywhere.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldra::gmap {

// Package descriptions are a few kilobytes; a larger file is not read.
inline constexpr std::uintmax_t InfoXmlFileLimit = 4 * 1024 * 1024;

struct InfoXmlSubProduct {
    std::string name;     // text of <Name>
    std::string pid;      // text of <ID> as a 16-bit number, in decimal
    std::string tdbName;  // text of <TDB>
};

struct InfoXmlFacts {
    std::string fid;  // text of the first <ID> of the file
    std::string mdx;  // text of <IDX>, or NoMdxFileMarker
    std::vector<InfoXmlSubProduct> subProducts;
    // The file ended the reading early; the sub-products read before stay.
    bool damaged = false;
};

InfoXmlFacts readInfoXml(std::string_view text);

}  // namespace veldra::gmap
