#pragma once
// The wildcard comparison the program uses between paths and list entries:
// "?" one character, "*" any run, "#" one digit, "[abc]", "[a-z]", "[!x]".
// Case-sensitive.

#include <string_view>

namespace veldra::app {

bool likePattern(std::string_view text, std::string_view pattern);

// The platform's numeric test: blanks around, a sign, digits with at most one
// decimal point and an optional exponent; at least one digit.
bool isNumericText(std::string_view text);

}  // namespace veldra::app
