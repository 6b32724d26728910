#include "platform/ExecutablePath.h"

#include <windows.h>

#include <string>

namespace veldra::platform {

std::filesystem::path executableFolder() {
    // Long paths may exceed MAX_PATH; the longest a path can be is 32767 characters.
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return std::filesystem::current_path();
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
}

}  // namespace veldra::platform
