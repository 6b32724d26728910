#include "cgpsmapper/OverviewSourceFacts.h"

#include <algorithm>
#include <charconv>

#include "common/OverviewSourceKeys.h"
#include "platform/Cp1252.h"

namespace veldra::outside {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::optional<std::uint32_t> parseNumber(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The map number after the last separator of a definition area's label.
std::optional<std::uint32_t> labelNumber(std::string_view label) {
    const auto separator = label.rfind(mpkeys::LabelSeparator);
    if (separator == std::string_view::npos) return std::nullopt;
    return parseNumber(trim(label.substr(separator + mpkeys::LabelSeparator.size())));
}

}  // namespace

std::string OverviewSourceFacts::value(std::string_view key) const {
    const auto it = imgId.find(lower(key));
    return it == imgId.end() ? std::string() : it->second;
}

std::optional<std::uint32_t> OverviewSourceFacts::number(std::string_view key) const { return parseNumber(value(key)); }

OverviewSourceFacts readOverviewSource(std::string_view text) {
    OverviewSourceFacts facts;
    std::string section;
    std::string type;
    std::string label;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string name = lower(line);
            const bool area = section == "[polygon]" || section == "[rgn80]";
            if (name.starts_with("[end") && area && lower(type) == mpkeys::DefinitionAreaType) {
                if (const auto number = labelNumber(label)) facts.tileNumbers.push_back(*number);
            }
            section = name.starts_with("[end") ? std::string() : name;
            type.clear();
            label.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = lower(trim(line.substr(0, equals)));
        const std::string_view value = trim(line.substr(equals + 1));
        if (section == "[img id]") facts.imgId[key] = platform::cp1252ToUtf8(value);
        else if (key == "type") type = value;
        else if (key == "label") label = value;
    }
    return facts;
}

}  // namespace veldra::outside
