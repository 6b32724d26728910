// The IMG container reader and what reads the subfiles it hands out (MPS
// records, TRE header); the subfiles written back into a container read back
// unchanged.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"
#include "formats/MpsRecords.h"
#include "formats/TreBounds.h"

using namespace veldra::formats;

namespace {

constexpr std::size_t RewriteLimit = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    const ImgLayoutRead read = parseImgImage(bytes);
    if (!read.layout) {
        if (read.error.empty()) std::abort();
        return 0;
    }
    const ImgLayout& layout = *read.layout;

    std::vector<ImgFileToWrite> files;
    std::size_t total = 0;
    for (const ImgSubfile& subfile : layout.subfiles) {
        for (const ByteRange& range : subfileRanges(layout, subfile))
            if (range.offset > size || size - range.offset < range.length) std::abort();
        std::vector<std::uint8_t> content = extractSubfile(bytes, layout, subfile);
        if (content.size() != subfile.size) std::abort();
        if (subfile.type == "MPS") static_cast<void>(parseMps(content));
        if (subfile.type == "TRE") static_cast<void>(parseTre(content));
        total += content.size();
        if (!content.empty()) files.push_back({subfile.name, subfile.type, std::move(content)});
    }
    if (total > RewriteLimit) return 0;

    const ImgBuild built = buildImg(files, {layout.description, layout.created});
    if (built.image.empty()) std::abort();  // a small set of subfiles always fits
    const ImgLayoutRead again = parseImgImage(built.image);
    if (!again.layout || again.layout->subfiles.size() != files.size()) std::abort();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ImgSubfile& subfile = again.layout->subfiles[i];
        if (subfile.name != files[i].name || subfile.type != files[i].type) std::abort();
        if (extractSubfile(built.image, *again.layout, subfile) != files[i].bytes) std::abort();
    }
    return 0;
}
