#pragma once
// Reading IMG containers: the layout and the bytes of single subfiles, from a
// file (reading only the directory and the blocks asked for) or from memory.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/ImgLayout.h"

namespace veldra::formats {

// The subfile's bytes from a whole image in memory (XOR undone here).
std::vector<std::uint8_t> extractSubfile(ByteView image, const ImgLayout& layout, const ImgSubfile& subfile);

// Parses the layout of a whole image in memory.
ImgLayoutRead parseImgImage(ByteView image);

class ImgFile {
public:
    struct Opened;

    // Reads the header and the directory; an error text says why not.
    static Opened open(const std::filesystem::path& path);

    const ImgLayout& layout() const { return layout_; }
    const std::filesystem::path& path() const { return path_; }

    // The subfile's bytes with the XOR undone; nothing (and `error`) when the
    // file cannot be read any more.
    std::optional<std::vector<std::uint8_t>> read(const ImgSubfile& subfile, std::string& error);
    // The same bytes written to `out` piece by piece, so that a subfile of any
    // size needs little memory; false (and `error`) when reading or writing fails.
    bool copyTo(const ImgSubfile& subfile, std::ostream& out, std::string& error);

private:
    ImgFile(std::filesystem::path path, std::ifstream in, ImgLayout layout);

    std::filesystem::path path_;
    std::ifstream in_;
    ImgLayout layout_;
};

struct ImgFile::Opened {
    std::unique_ptr<ImgFile> file;
    std::string error;  // with the file's name
};

}  // namespace veldra::formats
