#include "gmap/InfoXmlReading.h"

#include <cstdint>

#include "gmap/GmapRecord.h"
#include "platform/Text.h"

namespace veldra::gmap {
namespace {

constexpr auto npos = std::string_view::npos;

// The text between `open` (found at or after `from`) and the next `close`
// after it; also where `open` was found.
struct Element {
    std::size_t openAt = npos;
    std::string_view text;
};

std::optional<Element> elementFrom(std::string_view s, std::size_t from, std::string_view open,
                                   std::string_view close) {
    const std::size_t at = s.find(open, from);
    if (at == npos) return std::nullopt;
    const std::size_t begin = at + open.size();
    const std::size_t end = s.find(close, begin);
    if (end == npos) return std::nullopt;
    return Element{at, s.substr(begin, end - begin)};
}

// The whole-number reading of a 16-bit integer: blanks around, an optional sign.
std::optional<std::string> integerText(std::string_view text) {
    text = platform::trimBlanks(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    const auto value = platform::parseDecimal<std::int16_t>(text);
    if (!value) return std::nullopt;
    return std::to_string(*value);
}

// Our package writer escapes "&", "<" and ">"; other writers leave them as
// they stand, and those read as they stand too.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("&amp;")) out += '&', i += 4;
        else if (rest.starts_with("&lt;")) out += '<', i += 3;
        else if (rest.starts_with("&gt;")) out += '>', i += 3;
        else out += text[i];
    }
    return out;
}

}  // namespace

InfoXmlFacts readInfoXml(std::string_view s) {
    InfoXmlFacts facts;
    facts.damaged = true;
    // The FID runs from the first "<ID>" to the first "</ID" anywhere in the file.
    const std::size_t idAt = s.find("<ID>");
    const std::size_t idEnd = s.find("</ID");
    if (idAt == npos || idEnd == npos || idEnd < idAt + 4) return facts;
    facts.fid = unescaped(s.substr(idAt + 4, idEnd - idAt - 4));

    if (s.find("<IDX>") == npos) {
        facts.mdx = NoMdxFileMarker;
    } else {
        const auto mdx = elementFrom(s, 0, "<IDX>", "</IDX>");
        if (!mdx) return facts;
        facts.mdx = unescaped(mdx->text);
    }

    std::size_t start = 0;
    for (;;) {
        const std::size_t subProduct = s.find("<SubProduct>", start);
        if (subProduct == npos) break;
        const auto name = elementFrom(s, subProduct, "<Name>", "</Name>");
        if (!name) return facts;
        const auto pid = elementFrom(s, name->openAt, "<ID>", "</ID>");
        if (!pid) return facts;
        const auto pidText = integerText(pid->text);
        if (!pidText) return facts;
        const auto tdb = elementFrom(s, pid->openAt, "<TDB>", "</TDB>");
        if (!tdb) return facts;
        facts.subProducts.push_back({unescaped(name->text), *pidText, unescaped(tdb->text)});
        start = tdb->openAt;
    }
    facts.damaged = false;
    return facts;
}

}  // namespace veldra::gmap
