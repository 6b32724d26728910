#include "platform/FileStart.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace veldra::platform {
namespace {

// At most maxBytes from the start; with `wholeOnly`, a larger file is not read.
FileStart readOpened(const std::filesystem::path& file, std::uintmax_t maxBytes, bool wholeOnly) {
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
    LARGE_INTEGER size{};
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size)) {
        start.size = static_cast<std::uintmax_t>(size.QuadPart);
        start.state = wholeOnly && start.size > maxBytes ? FileStart::State::TooLarge : FileStart::State::Read;
    }
    if (start.state == FileStart::State::Read) {
        const auto wanted = static_cast<std::size_t>(std::min(maxBytes, start.size));
        start.bytes.resize(wanted);
        std::size_t got = 0;
        while (got < wanted) {
            const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wanted - got, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(handle, start.bytes.data() + got, piece, &n, nullptr) || n == 0) break;
            got += n;
        }
        start.bytes.resize(got);
    }
    CloseHandle(handle);
    return start;
}

}  // namespace

FileStart readFileStart(const std::filesystem::path& file, std::size_t maxBytes) {
    return readOpened(file, maxBytes, false);
}

FileStart readFileStartAt(const std::string& file, std::size_t maxBytes) {
    return readOpened(std::filesystem::path(wideText(file)), maxBytes, false);
}

FileStart readSmallFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    return readOpened(file, maxBytes, true);
}

}  // namespace veldra::platform
