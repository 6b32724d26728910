#pragma once
// What cgpsmapper.exe takes from an overview source (.mp): the keys of its
// [IMG ID] section and the map numbers in the labels of its definition areas.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veldra::outside {

struct OverviewSourceFacts {
    std::map<std::string, std::string> imgId;  // keys in lower case, values UTF-8
    std::vector<std::uint32_t> tileNumbers;    // from "description~[0x1d]NNNNNNNN" labels of 0x4a areas

    std::string value(std::string_view key) const;
    // The [IMG ID] value as a number, if it is one.
    std::optional<std::uint32_t> number(std::string_view key) const;
};

// `text` is the source in code page 1252.
OverviewSourceFacts readOverviewSource(std::string_view text);

}  // namespace veldra::outside
