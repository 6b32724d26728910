#include "platform/FileStart.h"

#include <windows.h>

#include <algorithm>
#include <optional>

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
    LARGE_INTEGER size{};
    std::optional<std::uintmax_t> regularSize;
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size))
        regularSize = static_cast<std::uintmax_t>(size.QuadPart);
    FileStart start = readOpenedFile(regularSize, maxBytes, wholeOnly, [handle](std::uint8_t* into, std::size_t count) {
        DWORD n = 0;
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        return ReadFile(handle, into, piece, &n, nullptr) ? std::size_t{n} : std::size_t{0};
    });
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
