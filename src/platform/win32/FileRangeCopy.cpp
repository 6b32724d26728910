#include "platform/FileRangeCopy.h"

#include <windows.h>

#include <algorithm>

namespace veldra::platform {
namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

OpenFile::OpenFile(const std::filesystem::path& file, Mode mode) : path_(file) {
    const bool reading = mode == Mode::Read;
    HANDLE handle = CreateFileW(file.c_str(), reading ? GENERIC_READ : GENERIC_WRITE,
                                reading ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ,
                                nullptr, reading ? OPEN_EXISTING : CREATE_ALWAYS,
                                reading ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<std::intptr_t>(handle);
}

OpenFile::~OpenFile() { close(); }

std::optional<std::uint64_t> OpenFile::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool OpenFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t got = 0;
    while (got < bytes.size()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + got);
        at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, CopyPieceSize));
        if (!ReadFile(handleOf(handle_), bytes.data() + got, ask, &n, &at) || n == 0) return false;
        got += n;
    }
    return true;
}

bool OpenFile::write(std::span<const std::uint8_t> bytes) {
    std::size_t put = 0;
    while (put < bytes.size()) {
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - put, CopyPieceSize));
        if (!WriteFile(handleOf(handle_), bytes.data() + put, ask, &n, nullptr) || n == 0) return false;
        put += n;
    }
    return true;
}

// Windows has no copy of a range between open files: copyFileRange copies in pieces.
std::uint64_t OpenFile::appendInSystem(OpenFile&, std::uint64_t, std::uint64_t) { return 0; }

bool OpenFile::close() {
    if (!isOpen()) return true;
    const bool ok = CloseHandle(handleOf(handle_)) != 0;
    handle_ = Closed;
    return ok;
}

}  // namespace veldra::platform
