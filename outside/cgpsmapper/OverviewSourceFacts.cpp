#include "cgpsmapper/OverviewSourceFacts.h"

#include "common/OverviewSourceKeys.h"
#include "platform/Cp1252.h"
#include "platform/Text.h"

namespace veldra::outside {
using platform::parseDecimal;
using platform::toLowerAscii;
using platform::trimWhitespace;

namespace {

// The map number after the last separator of a definition area's label.
std::optional<std::uint32_t> labelNumber(std::string_view label) {
    const auto separator = label.rfind(mpkeys::LabelSeparator);
    if (separator == std::string_view::npos) return std::nullopt;
    return parseDecimal<std::uint32_t>(trimWhitespace(label.substr(separator + mpkeys::LabelSeparator.size())));
}

}  // namespace

std::string OverviewSourceFacts::value(std::string_view key) const {
    const auto it = imgId.find(toLowerAscii(key));
    return it == imgId.end() ? std::string() : it->second;
}

std::optional<std::uint32_t> OverviewSourceFacts::number(std::string_view key) const { return parseDecimal<std::uint32_t>(value(key)); }

OverviewSourceFacts readOverviewSource(std::string_view text) {
    OverviewSourceFacts facts;
    std::string section;
    std::string type;
    std::string label;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimWhitespace(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string name = toLowerAscii(line);
            const bool area = section == "[polygon]" || section == "[rgn80]";
            if (name.starts_with("[end") && area && toLowerAscii(type) == mpkeys::DefinitionAreaType) {
                if (const auto number = labelNumber(label)) facts.tileNumbers.push_back(*number);
            }
            section = name.starts_with("[end") ? std::string() : name;
            type.clear();
            label.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = toLowerAscii(trimWhitespace(line.substr(0, equals)));
        const std::string_view value = trimWhitespace(line.substr(equals + 1));
        if (section == "[img id]") facts.imgId[key] = platform::cp1252ToUtf8(value);
        else if (key == "type") type = value;
        else if (key == "label") label = value;
    }
    return facts;
}

}  // namespace veldra::outside
