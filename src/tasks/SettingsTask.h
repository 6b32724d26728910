#pragma once
// Storing the settings the user chose (language, 64-bit host), as one registry edit.

#include <optional>
#include <string>

#include "app/Session.h"
#include "core/Result.h"

namespace veldra::tasks {

struct SettingsRequest {
    std::optional<std::string> language;  // "Deu" or "Eng"
    std::optional<bool> os64;
};

// Stores what the request names, then restarts the session with it.
Status storeSettings(app::Session& session, const SettingsRequest& request, const std::string& languageOverride);

}  // namespace veldra::tasks
