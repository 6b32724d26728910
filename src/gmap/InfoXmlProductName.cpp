#include "gmap/InfoXmlProductName.h"

namespace veldra::gmap {

std::optional<std::string> firstSubProductName(std::string_view infoXml) {
    const std::size_t subProduct = infoXml.find("<SubProduct>");
    if (subProduct == std::string_view::npos) return std::nullopt;
    constexpr std::string_view Open = "<Name>";
    const std::size_t open = infoXml.find(Open, subProduct);
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = infoXml.find("</Name>", open + Open.size());
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(infoXml.substr(open + Open.size(), close - open - Open.size()));
}

}  // namespace veldra::gmap
