#include "gmt/GmtFiles.h"

#include <algorithm>
#include <system_error>

#include "common/ToolPaths.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/PathText.h"

namespace veldra::outside {
namespace fs = std::filesystem;

fs::path outputFolder(const std::string& argument) {
    const fs::path folder = nativeToolPath(argument);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) throw GmtError("cannot make the output folder " + platform::pathText(folder));
    return folder;
}

std::unique_ptr<formats::ImgFile> openImage(const fs::path& path) {
    auto opened = formats::ImgFile::open(path);
    if (!opened.file) throw GmtError(opened.error);
    return std::move(opened.file);
}

std::vector<std::uint8_t> readSubfile(formats::ImgFile& image, const formats::ImgSubfile& subfile) {
    std::string error;
    auto bytes = image.read(subfile, error);
    if (!bytes) throw GmtError(error);
    return std::move(*bytes);
}

std::string subfileFileName(std::string_view codePageName) {
    const std::string name = platform::cp1252ToUtf8(codePageName);
    const bool unsafe = name.empty() || name.starts_with('.') ||
                        std::any_of(name.begin(), name.end(), [](char c) {
                            return c == '/' || c == '\\' || c == ':' || (c >= 0 && c < ' ');
                        });
    if (unsafe) throw GmtError("the subfile name \"" + name + "\" cannot be a file name");
    return name;
}

void writeOutputImage(const fs::path& path, formats::ImgFile& input, const std::vector<OutputSubfile>& subfiles,
                      const formats::ImgWriteOptions& options, const std::string& what, std::ostream& out) {
    std::vector<formats::ImgSubfileEntry> entries;
    for (const auto& subfile : subfiles)
        entries.push_back({subfile.name, subfile.type, subfile.copied ? subfile.copied->size : subfile.made.size()});
    const formats::ImgHead head = formats::buildImgHead(entries, options);
    if (head.bytes.empty()) throw GmtError(what + ": " + head.error);
    std::uint64_t size = 0;
    const auto written = platform::replaceFileAtomically(path, [&](std::ostream& stream) {
        const auto put = [&](const std::uint8_t* bytes, std::uint64_t count) {
            stream.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
            size += count;
        };
        put(head.bytes.data(), head.bytes.size());
        const std::vector<std::uint8_t> zeros(head.blockSize, 0);
        for (std::size_t i = 0; i < subfiles.size(); ++i) {
            if (subfiles[i].copied) {
                std::string error;
                if (!input.copyTo(*subfiles[i].copied, stream, error)) return platform::FileResult{false, error};
                size += entries[i].size;
            } else {
                put(subfiles[i].made.data(), subfiles[i].made.size());
            }
            put(zeros.data(), (head.blockSize - entries[i].size % head.blockSize) % head.blockSize);
        }
        return platform::FileResult{};
    });
    if (!written) throw GmtError(written.error);
    out << "wrote " << platform::pathText(path) << " (" << size << " bytes)\n";
}

void writeOutputFile(const fs::path& path, std::span<const std::uint8_t> bytes, std::ostream& out) {
    if (const auto written = platform::replaceFileAtomically(path, bytes); !written) throw GmtError(written.error);
    out << "wrote " << platform::pathText(path) << " (" << bytes.size() << " bytes)\n";
}

void writeOutputFile(const fs::path& path, std::string_view bytes, std::ostream& out) {
    writeOutputFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), out);
}

}  // namespace veldra::outside
