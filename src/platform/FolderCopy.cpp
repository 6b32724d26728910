#include "platform/FolderCopy.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace veldra::platform {
namespace fs = std::filesystem;
namespace {

// Each file is copied beside its target and renamed over it: a file of the
// same name is replaced whole. (The library's copy_file cannot replace on
// Windows: it takes any two files there for the same one and refuses.)
FileResult copyFileOver(const fs::path& source, const fs::path& target) {
    return replaceFileAtomically(target, [&source](std::ostream& out) {
        std::ifstream in(source, std::ios::binary);
        if (!in) return FileResult{false, "cannot read " + source.string()};
        // Inserting an empty buffer would mark the stream failed.
        if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
        if (in.bad()) return FileResult{false, "cannot read " + source.string()};
        return FileResult{};
    });
}

// The files below `folder`, for the count of a progress bar.
std::size_t filesBelow(const fs::path& folder) {
    std::size_t count = 0;
    std::error_code ec;
    for (auto entry = fs::recursive_directory_iterator(folder, ec); !ec && entry != fs::recursive_directory_iterator();
         entry.increment(ec))
        if (!entry->is_directory(ec)) ++count;
    return count;
}

}  // namespace

FileResult copyFolderInto(const fs::path& source, const fs::path& destination, const Progress& progress) {
    std::error_code ec;
    const fs::path from = fs::weakly_canonical(source, ec);
    if (ec || !fs::is_directory(from, ec)) return {false, "The folder does not exist."};
    const fs::path to = fs::weakly_canonical(destination, ec) / from.filename();
    if (ec) return {false, ec.message()};
    // A folder copied into itself would grow without end.
    if (std::mismatch(from.begin(), from.end(), to.begin(), to.end()).first == from.end())
        return {false, "The destination lies inside the folder to copy."};
    fs::create_directories(to, ec);
    if (ec) return {false, ec.message()};
    const std::size_t total = filesBelow(from);
    std::size_t done = 0;
    tell(progress, 0, total);
    for (auto entry = fs::recursive_directory_iterator(from, ec); !ec && entry != fs::recursive_directory_iterator();
         entry.increment(ec)) {
        const fs::path target = to / entry->path().lexically_relative(from);
        if (entry->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else {
            if (auto copied = copyFileOver(entry->path(), target); !copied) return copied;
            tell(progress, ++done, total);
        }
        if (ec) return {false, ec.message()};
    }
    if (ec) return {false, ec.message()};
    return {};
}

}  // namespace veldra::platform
