#pragma once
// UTF-8 inside the program, UTF-16 at every wide Win32 call: the conversion of
// the Windows backends, in one place.

#include <string>
#include <string_view>

#include "platform/Cp1252.h"

namespace veldra::platform {

inline std::wstring wideText(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    return {units.begin(), units.end()};
}

inline std::string utf8Text(std::wstring_view wide) {
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace veldra::platform
