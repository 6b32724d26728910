#include "platform/FileMove.h"

#include <system_error>

#include "platform/PathText.h"

namespace veldra::platform {
namespace fs = std::filesystem;

FileResult copyFileReplacing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) return {false, "Cannot copy " + pathText(from) + " to " + pathText(to) + ": " + ec.message()};
    return {};
}

FileResult moveFileReplacing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return {};
    if (ec != std::errc::cross_device_link)
        return {false, "Cannot move " + pathText(from) + " to " + pathText(to) + ": " + ec.message()};
    if (auto copied = copyFileReplacing(from, to); !copied) return copied;
    fs::remove(from, ec);
    if (ec) return {false, "Cannot remove " + pathText(from) + " after copying it: " + ec.message()};
    return {};
}

}  // namespace veldra::platform
