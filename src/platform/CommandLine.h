#pragma once
// Windows command-line splitting, so that the exact command strings the
// pipeline builds mean the same on every system.

#include <string>
#include <string_view>
#include <vector>

namespace veldra::platform {

// Splits by the rules of the Microsoft C runtime: blanks and tabs separate,
// double quotes group, 2n backslashes before a quote give n and open/close,
// 2n+1 give n and a literal quote, other backslashes are literal, and "" inside
// a quoted part gives a literal quote.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

}  // namespace veldra::platform
