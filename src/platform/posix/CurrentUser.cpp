#include "platform/CurrentUser.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace veldra::platform {

std::string currentUserName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return {};
}

}  // namespace veldra::platform
