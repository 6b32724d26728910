#pragma once
#include <string>

namespace veldra::platform {

// The name of the user this process runs for: $USER, else the account's name in
// the user database (the name Wine gives the prefix's user); empty when neither.
std::string currentUserName();

}  // namespace veldra::platform
