#include "platform/AtomicFile.h"

#include <atomic>
#include <fstream>
#include <limits>
#include <system_error>

#include "platform/CappedFileRead.h"
#include "platform/FileSync.h"

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

FileResult failure(std::string text) { return FileResult{false, std::move(text)}; }

fs::path temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    return target.parent_path() /
           ("." + target.filename().string() + ".veldra-tmp-" + std::to_string(counter++));
}

}  // namespace

FileResult replaceFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes) {
    return replaceFileAtomically(target, [bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return FileResult{};
    });
}

FileResult replaceFileAtomically(const fs::path& target, const std::function<FileResult(std::ostream&)>& write) {
    const fs::path temp = temporarySibling(target);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return failure("cannot create " + temp.string());
        FileResult made = write(out);
        out.close();
        if (!made || !out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return made ? failure("cannot write " + temp.string()) : made;
        }
    }
    std::error_code ec;
    if (fs::exists(target, ec)) fs::permissions(temp, fs::status(target, ec).permissions(), ec);
    if (!flushFileToDisk(temp)) {
        fs::remove(temp, ec);
        return failure("cannot flush " + temp.string() + " to disk");
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return failure("cannot replace " + target.string() + ": " + ec.message());
    }
    return {};
}

FileResult replaceFileAtomically(const fs::path& target, std::string_view bytes) {
    return replaceFileAtomically(
        target, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

FileResult patchFileInPlace(const fs::path& target, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const auto size = fs::file_size(target, ec);
    if (ec) return failure("cannot open " + target.string() + ": " + ec.message());
    if (offset > size || bytes.size() > size - offset)
        return failure("refusing to write past the end of " + target.string());
    std::fstream file(target, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) return failure("cannot open " + target.string() + " for writing");
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) return failure("cannot write " + target.string());
    return {};
}

FileResult readWholeFile(const fs::path& source, std::vector<std::uint8_t>& out) {
    auto read = readFileCapped(source, std::numeric_limits<std::uintmax_t>::max());
    if (!read) return failure(read.failure().detail);
    out = std::move(read).value();
    return {};
}

}  // namespace veldra::platform
