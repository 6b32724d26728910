#pragma once
// Start-up steps that front ends share.

#include <string>

namespace veldra::app {

class Session;

// Asks the 64-bit question until `Wow64` holds an answer, then starts the
// session (catalog, user name, host registry root). False when `Wow64` holds
// a value that is neither answer.
bool startWithHostRoot(Session& session, const std::string& languageOverride);

}  // namespace veldra::app
