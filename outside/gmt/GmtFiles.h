#pragma once
// Input and output of gmt.exe: every failure becomes a GmtError with a text
// for the user, every file written is reported on standard output.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"

namespace veldra::outside {

struct GmtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The -o folder as a native path, created when missing.
std::filesystem::path outputFolder(const std::string& argument);

std::unique_ptr<formats::ImgFile> openImage(const std::filesystem::path& path);
std::vector<std::uint8_t> readSubfile(formats::ImgFile& image, const formats::ImgSubfile& subfile);

// A subfile's name (code page bytes) as the UTF-8 name of a file of its own;
// throws when it could name a place outside the output folder.
std::string subfileFileName(std::string_view codePageName);

// A subfile of an image gmt.exe writes: copied from its input image range by
// range, never held whole (an image may be larger than the memory), or made here.
struct OutputSubfile {
    std::string name;
    std::string type;
    const formats::ImgSubfile* copied = nullptr;  // from the input image
    std::vector<std::uint8_t> made;               // when not copied
};

// Writes the image of these subfiles (replacing the file whole) and prints
// "wrote <path> (<n> bytes)"; `what` names it in an error.
void writeOutputImage(const std::filesystem::path& path, formats::ImgFile& input,
                      const std::vector<OutputSubfile>& subfiles, const formats::ImgWriteOptions& options,
                      const std::string& what, std::ostream& out);

// Replaces the file whole and prints "wrote <path> (<n> bytes)".
void writeOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::ostream& out);
void writeOutputFile(const std::filesystem::path& path, std::string_view bytes, std::ostream& out);

}  // namespace veldra::outside
