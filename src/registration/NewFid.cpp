#include "registration/NewFid.h"

#include <algorithm>
#include <optional>

#include "platform/Text.h"
#include "registration/NumberText.h"

namespace veldra::registration {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct TypedNumber {
    bool negative = false;
    std::uint32_t whole = 0;  // capped just above the highest FID
    bool fraction = false;    // a non-zero digit after the point
};

// A decimal number with an optional sign and fraction; nothing for anything else.
std::optional<TypedNumber> readNumber(std::string_view text) {
    TypedNumber number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        number.whole = std::min<std::uint32_t>(number.whole * 10 + static_cast<std::uint32_t>(text[i] - '0'),
                                               HighestNewFid + 1);
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits) number.fraction |= text[i] != '0';
    if (digits == 0 || i != text.size()) return std::nullopt;
    return number;
}

}  // namespace

Result<std::uint16_t> parseNewFid(std::string_view typed) {
    const auto number = readNumber(platform::trimBlanks(typed));
    if (!number) return fail(FidNotANumber);
    if (number->negative || number->whole == 0) return fail(Msg::MsgFidNotPositive);
    if (number->whole > HighestNewFid || (number->whole == HighestNewFid && number->fraction)) return fail(FidTooBig);
    return static_cast<std::uint16_t>(number->whole);
}

bool fidInUse(const InstalledCatalog& catalog, std::uint16_t fid) {
    for (const auto& record : catalog.registry)
        if (wholeNumber(record.fid) == fid || record.registeredFid == fid) return true;
    for (const auto& package : catalog.packages.records)
        if (wholeNumber(package.fid) == fid) return true;
    return false;
}

}  // namespace veldra::registration
