#include "tools/ProjectionLatitude.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/RegistryEdit.h"
#include "platform/LittleEndian.h"
#include "platform/Text.h"

namespace veldra::tools {
namespace {

using platform::RegistryRoot;

constexpr const char* ProductsKey = "Software\\Garmin\\SharedSettings\\Products\\";

Status refusal(long code, const char* action, const std::string& key) {
    if (code == platform::regerror::Success) return {};
    return fail(std::string(action) + " HKEY_CURRENT_USER\\" + key + " failed (error " + std::to_string(code) + ")");
}

}  // namespace

std::uint32_t productCode(MapProduct product) {
    return static_cast<std::uint32_t>(product.fid) * 65536u + product.pid;
}

std::string projectionKey(MapProduct product) { return ProductsKey + std::to_string(productCode(product)); }

Result<MapProduct> productFromTexts(std::string_view fidText, std::string_view pidText) {
    const auto pid = platform::parseDecimal<std::uint16_t>(pidText);
    if (!pid || *pid == 0) return fail(Msg::MsgWrongPid);
    // FID 0 still makes a product code other than 0 with a valid PID.
    const auto fid = platform::parseDecimal<std::uint16_t>(fidText);
    if (!fid) return fail(Msg::MsgWrongFid);
    return MapProduct{*fid, *pid};
}

std::optional<double> parseLatitude(std::string_view text) {
    text = platform::trimWhitespace(text);
    // One sign at most: "+-4" is no number.
    if (text.starts_with('+') && !text.substr(1).starts_with('-')) text.remove_prefix(1);
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    // Plain decimal notation only; "inf" and "nan" are no latitudes.
    double value = 0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    if (number.empty() || error != std::errc{} || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> storedLatitude(const platform::Registry& registry, MapProduct product) {
    const auto value = registry.queryValue(RegistryRoot::CurrentUser, projectionKey(product), ProjectionAngleValue);
    if (!value || value->type != platform::RegistryType::Dword) return std::nullopt;
    return platform::u32At(value->data, 0);
}

std::string shownLatitude(const app::Session& session, MapProduct product) {
    const auto latitude = storedLatitude(session.host.registry, product);
    if (!latitude) return session.msg(Msg::MsgNoLatitudeStored);
    return std::to_string(*latitude) + "°";
}

Status storeLatitude(app::Session& session, MapProduct product, double latitude) {
    if (!(latitude >= MinimumLatitude && latitude <= MaximumLatitude)) return fail(Msg::MsgLatitudeOutOfRange);
    const auto degrees = static_cast<std::uint32_t>(std::lround(latitude));
    auto& registry = session.host.registry;
    const std::string key = projectionKey(product);
    auto edit = app::RegistryEdit::open(registry);
    if (!edit) return edit.failure();
    if (auto made = refusal(registry.createKey(RegistryRoot::CurrentUser, key), "Creating", key); !made) return made;
    if (auto written = refusal(registry.setValue(RegistryRoot::CurrentUser, key, ProjectionAngleValue,
                                                 platform::RegistryValue::fromDword(degrees)),
                               "Writing", key);
        !written)
        return written;
    if (auto committed = edit->commit(); !committed) return committed;
    if (storedLatitude(registry, product) != degrees) {
        session.routines.reportWriteFailure(app::DefaultTitle);
        return alreadyShown();
    }
    return {};
}

Status removeLatitude(app::Session& session, MapProduct product) {
    const std::string key = projectionKey(product);
    if (!session.host.registry.keyExists(RegistryRoot::CurrentUser, key)) return {};
    auto edit = app::RegistryEdit::open(session.host.registry);
    if (!edit) return edit.failure();
    // A key that holds subkeys stays; its value is gone by then.
    if (auto deleted = session.routines.deleteValue(RegistryRoot::CurrentUser, key, ProjectionAngleValue); !deleted)
        return deleted;
    if (auto deleted = session.routines.deleteKey(RegistryRoot::CurrentUser, key); !deleted) return deleted;
    return edit->commit();
}

Status setLatitudeFromText(app::Session& session, MapProduct product, std::string_view typed) {
    if (const auto latitude = parseLatitude(typed)) return storeLatitude(session, product, *latitude);
    if (!session.dialogs.ask(session.msg(Msg::MsgAskAutomaticLatitude))) return declined();
    return removeLatitude(session, product);
}

}  // namespace veldra::tools
