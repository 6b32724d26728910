#include "gmt/GmtFiles.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "common/ToolPaths.h"
#include "platform/Cp1252.h"
#include "platform/FileRangeCopy.h"
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

namespace {

// An output is written under a temporary name beside its target and renamed
// over it once whole, so that a killed gmt.exe never leaves half a file under
// the final name. It is not flushed: gmt.exe's outputs are work files of the
// integration (a device image's family images are thrown away once split),
// which flushes a mapset's files right before it registers them.
class OutputFile {
public:
    explicit OutputFile(const fs::path& target)
        : target_(target), temp_(fs::path(target) += ".part"), file_(temp_, platform::OpenFile::Mode::Write) {
        if (!file_.isOpen()) throw GmtError("cannot create " + platform::pathText(temp_));
    }
    ~OutputFile() {
        if (committed_) return;
        file_.close();
        std::error_code ignored;
        fs::remove(temp_, ignored);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    platform::OpenFile& file() { return file_; }
    void write(std::span<const std::uint8_t> bytes) {
        if (!file_.write(bytes)) throw GmtError("cannot write " + platform::pathText(temp_));
    }
    void commit() {
        if (!file_.close()) throw GmtError("cannot write " + platform::pathText(temp_));
        std::error_code ec;
        fs::rename(temp_, target_, ec);
        if (ec) throw GmtError("cannot replace " + platform::pathText(target_) + ": " + ec.message());
        committed_ = true;
    }

private:
    fs::path target_;
    fs::path temp_;
    platform::OpenFile file_;
    bool committed_ = false;
};

}  // namespace

void writeOutputImage(const fs::path& path, formats::ImgFile& input, const std::vector<OutputSubfile>& subfiles,
                      const formats::ImgWriteOptions& options, const std::string& what, std::ostream& out) {
    std::vector<formats::ImgSubfileEntry> entries;
    for (const auto& subfile : subfiles)
        entries.push_back({subfile.name, subfile.type, subfile.copied ? subfile.copied->size : subfile.made.size()});
    const formats::ImgHead head = formats::buildImgHead(entries, options);
    if (head.bytes.empty()) throw GmtError(what + ": " + head.error);
    platform::OpenFile source(input.path(), platform::OpenFile::Mode::Read);
    if (!source.isOpen()) throw GmtError("cannot read " + platform::pathText(input.path()));
    // The copied bytes stay as stored unless the input hides them under its XOR.
    const std::uint8_t key = input.layout().xorKey;
    std::function<void(std::span<std::uint8_t>)> undoXor;
    if (key != 0) undoXor = [key](std::span<std::uint8_t> bytes) { formats::applyImgXor(bytes, key); };

    OutputFile output(path);
    output.write(head.bytes);
    std::uint64_t size = head.bytes.size();
    const std::vector<std::uint8_t> zeros(head.blockSize, 0);
    for (std::size_t i = 0; i < subfiles.size(); ++i) {
        if (subfiles[i].copied) {
            for (const auto& range : formats::subfileRanges(input.layout(), *subfiles[i].copied)) {
                const auto copied = platform::copyFileRange(source, range.offset, range.length, output.file(), undoXor);
                if (!copied) throw GmtError(subfiles[i].copied->fileName() + ": " + copied.error);
            }
        } else {
            output.write(subfiles[i].made);
        }
        const std::uint64_t padding = (head.blockSize - entries[i].size % head.blockSize) % head.blockSize;
        output.write(std::span(zeros).first(static_cast<std::size_t>(padding)));
        size += entries[i].size + padding;
    }
    output.commit();
    out << "wrote " << platform::pathText(path) << " (" << size << " bytes)\n";
}

void writeOutputFile(const fs::path& path, std::span<const std::uint8_t> bytes, std::ostream& out) {
    OutputFile output(path);
    output.write(bytes);
    output.commit();
    out << "wrote " << platform::pathText(path) << " (" << bytes.size() << " bytes)\n";
}

void writeOutputFile(const fs::path& path, std::string_view bytes, std::ostream& out) {
    writeOutputFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), out);
}

}  // namespace veldra::outside
