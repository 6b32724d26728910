#include "platform/CurrentUser.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace veldra::platform {

std::string currentUserName() {
    // A user name has at most 256 characters (UNLEN) and its terminating NUL.
    wchar_t buffer[257];
    DWORD length = 257;
    if (!GetUserNameW(buffer, &length) || length == 0) return {};
    return utf8Text(std::wstring_view(buffer, length - 1));
}

}  // namespace veldra::platform
