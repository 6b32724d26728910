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

// Replaces the file whole and prints "wrote <path> (<n> bytes)".
void writeOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::ostream& out);
void writeOutputFile(const std::filesystem::path& path, std::string_view bytes, std::ostream& out);

}  // namespace veldra::outside
