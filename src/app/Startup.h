#pragma once
// Start-up steps that front ends share.

#include <string>

namespace veldra::app {

class Session;

// Takes the host's own answer to the 64-bit question where it gives one (and
// says so when the stored answer differs), else asks until `Wow64` holds one;
// then starts the session (catalog, user name, host registry root). False
// when `Wow64` holds a value that is neither answer.
bool startWithHostRoot(Session& session, const std::string& languageOverride);

}  // namespace veldra::app
