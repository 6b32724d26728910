#include "platform/UserLanguage.h"

#include <cstdlib>

namespace veldra::platform {

std::string userLanguage() {
    // The order in which the C library chooses the language of messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return languageOfLocale(value);
    return languageOfLocale("");
}

}  // namespace veldra::platform
