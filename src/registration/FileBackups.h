#pragma once
// Copies of the files a change is about to touch, so that a change that fails
// halfway puts every one of them back as it was.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/Result.h"

namespace veldra::registration {

class FileBackups {
public:
    // Keeps the file's bytes, or that there is no such file, the first time it
    // is named; a file that cannot be read fails before anything is touched.
    Status keep(const std::filesystem::path& file);

    // Puts back every kept file that no longer matches its copy, the last kept
    // first: a file that did not exist is removed again. The failure names
    // every file that could not be put back.
    Status restoreAll() const;

    // Nothing was kept: no file has been touched.
    bool empty() const { return copies_.empty(); }

private:
    struct Copy {
        std::filesystem::path file;
        std::optional<std::vector<std::uint8_t>> bytes;  // nothing: the file did not exist
    };
    std::vector<Copy> copies_;
};

}  // namespace veldra::registration
