#include "registration/FileBackups.h"

#include <algorithm>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/CappedFileRead.h"
#include "platform/PathText.h"

namespace veldra::registration {
namespace fs = std::filesystem;
namespace {

// Above the largest TDB, index or type file the format readers accept.
constexpr std::uintmax_t BackupLimit = 64 * platform::MiB;

bool matches(const fs::path& file, const std::optional<std::vector<std::uint8_t>>& bytes) {
    std::error_code ec;
    if (!bytes) return !fs::exists(file, ec) && !ec;
    const auto now = platform::readFileCapped(file, BackupLimit);
    return now && *now == *bytes;
}

// Nothing when the file is as it was; else why it could not be put back.
std::optional<std::string> putBack(const fs::path& file, const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (matches(file, bytes)) return std::nullopt;
    if (!bytes) {
        std::error_code ec;
        fs::remove(file, ec);
        if (!ec) return std::nullopt;
        return "cannot remove " + platform::pathText(file) + ": " + ec.message();
    }
    // Replaced whole, the file keeps its access rights.
    if (auto written = platform::replaceFileAtomically(file, *bytes); !written) return written.error;
    return std::nullopt;
}

}  // namespace

Status FileBackups::keep(const fs::path& file) {
    if (std::any_of(copies_.begin(), copies_.end(), [&](const Copy& copy) { return copy.file == file; })) return {};
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        if (ec) return fail("cannot look for " + platform::pathText(file) + ": " + ec.message());
        copies_.push_back({file, std::nullopt});
        return {};
    }
    auto bytes = platform::readFileCapped(file, BackupLimit);
    if (!bytes) return bytes.failure();
    copies_.push_back({file, std::move(bytes).value()});
    return {};
}

Status FileBackups::restoreAll() const {
    std::string problems;
    for (auto copy = copies_.rbegin(); copy != copies_.rend(); ++copy)
        if (const auto problem = putBack(copy->file, copy->bytes)) problems += (problems.empty() ? "" : "\n") + *problem;
    if (problems.empty()) return {};
    return fail(problems);
}

}  // namespace veldra::registration
