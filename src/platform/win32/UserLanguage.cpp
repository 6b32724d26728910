#include "platform/UserLanguage.h"

#include <windows.h>

namespace veldra::platform {

std::string userLanguage() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN ? "Deu" : "Eng"; }

}  // namespace veldra::platform
