#pragma once
// The language the user's own system speaks, for a first start that has no
// stored language yet.

#include <string>
#include <string_view>

namespace veldra::platform {

// "Deu" for a German locale name ("de", "de_AT.UTF-8", ...), "Eng" for any other.
std::string languageOfLocale(std::string_view locale);

// On Windows the user's UI language; elsewhere the first of LC_ALL,
// LC_MESSAGES and LANG that is set. "Deu" for German, "Eng" otherwise.
std::string userLanguage();

}  // namespace veldra::platform
