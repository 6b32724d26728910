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

// The settings window's new answer to the 64-bit question. The session keeps
// its host registry root: the answer takes effect at the next start-up.
Status storeOs64Answer(app::Session& session, bool os64);

}  // namespace veldra::tasks
