#include "platform/FileStamp.h"

#include <sys/stat.h>

namespace veldra::platform {

FileStamp fileStampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    constexpr std::int64_t NanosecondsPerSecond = 1000000000;
    return {true, static_cast<std::uintmax_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * NanosecondsPerSecond + info.st_mtim.tv_nsec};
}

}  // namespace veldra::platform
