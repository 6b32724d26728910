// Makes the device image the split benchmark takes apart: the mkgmap-made
// gmapsupp.img of the test data with one large elevation subfile added to
// each of its tiles, so that the image is about SIZE MiB. Written piece by
// piece, as the split is meant to work: the image never is in memory.
// Usage: veldra_bench_device_image SOURCE_GMAPSUPP TARGET SIZE_MIB

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "formats/ImgReader.h"
#include "formats/ImgWriter.h"

using namespace veldra;

namespace {

int stop(const std::string& why) {
    std::fprintf(stderr, "veldra_bench_device_image: %s\n", why.c_str());
    return 1;
}

bool isTileName(const std::string& name) {
    return name.size() == 8 && name.find_first_not_of("0123456789") == std::string::npos;
}

// Bytes no file system stores as a hole and no copy skips.
void writeFiller(std::ostream& out, std::uint64_t size, std::uint32_t seed) {
    std::vector<std::uint32_t> piece(256 * 1024);
    for (std::uint64_t done = 0; done < size;) {
        for (auto& word : piece) word = seed = seed * 1664525u + 1013904223u;
        const std::uint64_t count = std::min<std::uint64_t>(piece.size() * 4, size - done);
        out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(count));
        done += count;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return stop("usage: SOURCE_GMAPSUPP TARGET SIZE_MIB");
    auto opened = formats::ImgFile::open(argv[1]);
    if (!opened.file) return stop(opened.error);
    formats::ImgFile& source = *opened.file;
    const std::uint64_t wanted = std::strtoull(argv[3], nullptr, 10) * 1024 * 1024;

    std::vector<formats::ImgSubfileEntry> entries;
    std::vector<const formats::ImgSubfile*> copied;  // nothing for an added subfile
    std::vector<std::string> tiles;
    for (const auto& subfile : source.layout().subfiles) {
        entries.push_back({subfile.name, subfile.type, subfile.size});
        copied.push_back(&subfile);
        if (subfile.type == "TRE" && isTileName(subfile.trimmedName())) tiles.push_back(subfile.name);
    }
    if (tiles.empty()) return stop("the image has no tiles");
    const std::uint64_t filler = wanted / tiles.size();
    for (const std::string& tile : tiles) {
        entries.push_back({tile, "DEM", filler});
        copied.push_back(nullptr);
    }
    const formats::ImgHead head = formats::buildImgHead(entries, {source.layout().description, source.layout().created});
    if (head.bytes.empty()) return stop(head.error);

    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(head.bytes.data()), static_cast<std::streamsize>(head.bytes.size()));
    const std::vector<char> zeros(head.blockSize, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string error;
        if (copied[i] && !source.copyTo(*copied[i], out, error)) return stop(error);
        if (!copied[i]) writeFiller(out, entries[i].size, static_cast<std::uint32_t>(i));
        out.write(zeros.data(), static_cast<std::streamsize>((head.blockSize - entries[i].size % head.blockSize) % head.blockSize));
    }
    out.close();
    return out ? 0 : stop(std::string("cannot write ") + argv[2]);
}
