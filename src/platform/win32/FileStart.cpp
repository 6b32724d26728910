#include "platform/FileStart.h"

#include <windows.h>

namespace veldra::platform {

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes) {
    // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS: it fails here
    // and is told apart from an unreadable file below.
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::error_code ec;
        return {std::filesystem::is_regular_file(file, ec) ? FileStart::State::Unreadable : FileStart::State::NoFile,
                {}};
    }
    FileStart start;
    if (GetFileType(handle) == FILE_TYPE_DISK) {
        start.state = FileStart::State::Read;
        start.bytes.resize(maxBytes);
        std::size_t got = 0;
        while (got < maxBytes) {
            DWORD n = 0;
            if (!ReadFile(handle, start.bytes.data() + got, static_cast<DWORD>(maxBytes - got), &n, nullptr) || n == 0)
                break;
            got += n;
        }
        start.bytes.resize(got);
    }
    CloseHandle(handle);
    return start;
}

}  // namespace veldra::platform
