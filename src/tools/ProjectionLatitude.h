#pragma once
// The projection latitude the host programs use for one map product: the
// per-user DWORD "ProjectionAngle" under HKCU
// "Software\Garmin\SharedSettings\Products\<FID x 65536 + PID>". Without it the
// host program chooses the latitude by itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/Session.h"
#include "core/Result.h"

namespace veldra::tools {

inline constexpr int MinimumLatitude = 5;
inline constexpr int MaximumLatitude = 85;
inline constexpr const char* ProjectionAngleValue = "ProjectionAngle";

struct MapProduct {
    std::uint16_t fid = 0;
    std::uint16_t pid = 0;
};

// FID x 65536 + PID
std::uint32_t productCode(MapProduct product);
// "Software\Garmin\SharedSettings\Products\" + the product code
std::string projectionKey(MapProduct product);

// The product that an FID and a PID typed as digits name. A PID that is
// empty, 0 or not a 16-bit number fails with MsgWrongPid; such an FID with MsgWrongFid.
Result<MapProduct> productFromTexts(std::string_view fidText, std::string_view pidText);

// The latitude a typed text spells (blanks around, a decimal comma or point
// allowed); nothing when it is not a number.
std::optional<double> parseLatitude(std::string_view text);

// The stored latitude; nothing when the product has none.
std::optional<std::uint32_t> storedLatitude(const platform::Registry& registry, MapProduct product);

// What the latitude field shows: the stored value followed by "°", or the
// nothing-stored text.
std::string shownLatitude(const app::Session& session, MapProduct product);

// Stores the latitude, rounded to whole degrees, as one registry edit. A
// value outside 5..85 fails with MsgLatitudeOutOfRange and stores nothing.
Status storeLatitude(app::Session& session, MapProduct product, double latitude);

// Deletes the value and then the product's key, unless the key holds
// subkeys; a product without a key is left as it is.
Status removeLatitude(app::Session& session, MapProduct product);

// The set button with the typed text: a number is stored; anything else asks
// whether the host program shall choose the latitude, and on yes removes it.
Status setLatitudeFromText(app::Session& session, MapProduct product, std::string_view typed);

}  // namespace veldra::tools
