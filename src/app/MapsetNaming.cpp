#include "app/MapsetNaming.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/Dialogs.h"
#include "app/LikePattern.h"
#include "app/MessageCatalog.h"

namespace veldra::app {
namespace {

// A FID text as a number; texts that are no number (markers) never match.
std::optional<long> number(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    long value = 0;
    const auto* begin = text.data() + first;
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || end == begin) return std::nullopt;
    return value;
}

bool containsNumber(const std::vector<std::string>& texts, long wanted) {
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return number(t) == wanted; });
}

}  // namespace

Status checkGivenMapsetName(const std::string& name) {
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) > 127; }))
        return fail(Msg::MsgNoSpecialCharacters);
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return fail(Msg::MsgNameForbiddenCharacters);
    if (name.size() > MaximumMapsetNameLength) return fail(Msg::MsgNameTooLong);
    return {};
}

std::string validatedMapsetName(const std::string& name, Dialogs& dialogs, const MessageCatalog& catalog) {
    const auto bad = std::find_if(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
    if (bad == name.end()) return name;
    dialogs.inform(catalog.text(Msg::MsgNoSpecialCharacters));
    return std::string(name.begin(), bad);
}

bool nameInUse(const std::string& name, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog) {
    const bool used = std::any_of(inUse.mapsetNames.begin(), inUse.mapsetNames.end(),
                                  [&](const std::string& installed) { return likePattern(name, installed); });
    if (used) dialogs.inform(catalog.text(Msg::MsgNameExists), "VELDRA-TOOL");
    return used;
}

bool fidInUse(const std::string& fidText, const NamesInUse& inUse, Dialogs& dialogs, const MessageCatalog& catalog) {
    const auto fid = number(fidText);
    const bool used = fid && (containsNumber(inUse.registryFids, *fid) || containsNumber(inUse.gmapFids, *fid));
    if (used) dialogs.inform(catalog.text(Msg::MsgIdExists));
    return used;
}

}  // namespace veldra::app
