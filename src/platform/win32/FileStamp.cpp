#include "platform/FileStamp.h"

#include <windows.h>

namespace veldra::platform {

FileStamp fileStampOf(const std::filesystem::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};
    const auto high = [](DWORD upper, DWORD lower) {
        return static_cast<std::uint64_t>(upper) << 32 | lower;
    };
    return {true, high(data.nFileSizeHigh, data.nFileSizeLow),
            static_cast<std::int64_t>(high(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime))};
}

}  // namespace veldra::platform
