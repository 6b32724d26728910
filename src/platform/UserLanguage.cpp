#include "platform/UserLanguage.h"

namespace veldra::platform {

std::string languageOfLocale(std::string_view locale) {
    const bool german = locale.size() >= 2 && (locale[0] == 'd' || locale[0] == 'D') &&
                        (locale[1] == 'e' || locale[1] == 'E') && (locale.size() == 2 || locale[2] == '_' ||
                                                                   locale[2] == '-' || locale[2] == '.' || locale[2] == '@');
    return german ? "Deu" : "Eng";
}

}  // namespace veldra::platform
