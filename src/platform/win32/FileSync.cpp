#include "platform/FileSync.h"

#include <windows.h>

namespace veldra::platform {

bool flushFileToDisk(const std::filesystem::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool ok = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    return ok;
}

// NTFS journals its folder entries itself; a folder cannot be flushed like a file.
bool flushDirectoryToDisk(const std::filesystem::path&) { return true; }

}  // namespace veldra::platform
