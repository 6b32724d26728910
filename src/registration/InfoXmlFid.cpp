#include "registration/InfoXmlFid.h"

namespace veldra::registration {

std::string replaceFirstFamilyId(std::string_view xml, std::string_view oldFid, std::string_view newFid) {
    std::string text(xml);
    const std::string element = "<ID>" + std::string(oldFid) + "</ID>";
    if (const auto at = text.find(element); at != std::string::npos)
        text.replace(at, element.size(), "<ID>" + std::string(newFid) + "</ID>");
    return text + "\r\n";
}

Result<std::optional<std::string>> typeFileNamedIn(std::string_view xml) {
    static constexpr std::string_view Open = "<TYP>";
    // Within the first five characters it cannot be an element of the description.
    static constexpr std::size_t FirstPossible = 5;
    const auto open = xml.find(Open);
    if (open == std::string_view::npos || open < FirstPossible) return std::optional<std::string>();
    const auto start = open + Open.size();
    const auto close = xml.find("</TYP>", start);
    if (close == std::string_view::npos) return fail("its <TYP> element has no end");
    return std::optional<std::string>(xml.substr(start, close - start));
}

}  // namespace veldra::registration
