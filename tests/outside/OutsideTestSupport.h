#pragma once
// What the tests of the outside programs share: the built map data, the
// program folder, scratch folders and running a program to its end.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veldra::outside::test {

std::filesystem::path builtData();   // the maps mkgmap compiled for the tests
std::filesystem::path programDir();  // the laid-out program folder

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);
std::string readText(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct ToolRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs the program through the shell with `environment` ("NAME=value ...",
// "-u NAME" unsets) in front of it.
ToolRun runTool(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                const std::string& environment = "");

// Runs mkgmap (java -jar the program folder's mkgmap.jar) with the arguments.
ToolRun runMkgmap(const std::vector<std::string>& arguments);

}  // namespace veldra::outside::test
