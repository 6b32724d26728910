// In-process figures of reading the draw priority of every tile of a mapset
// (the tiles of $VELDRA_BENCH_TILES, as bench/run makes them): our reader
// against two that find the TRE signature in what they read, one reading each
// tile whole, one only its first 64 KiB.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/TreDrawPriority.h"

namespace {

namespace fs = std::filesystem;

const std::vector<fs::path>& tiles() {
    static const std::vector<fs::path> found = [] {
        std::vector<fs::path> files;
        const char* folder = std::getenv("VELDRA_BENCH_TILES");
        std::error_code ec;
        if (folder)
            for (const auto& entry : fs::directory_iterator(folder, ec))
                if (entry.path().extension() == ".img") files.push_back(entry.path());
        return files;
    }();
    return found;
}

// The draw priority in the bytes read, found as our reader finds it.
int drawPriorityIn(const std::vector<char>& bytes) {
    if (bytes.empty()) return -1;
    std::string signature = "GARMIN TRE";
    for (char& c : signature) c = static_cast<char>(c ^ bytes[0]);
    const auto at = std::search(bytes.begin(), bytes.end(), signature.begin(), signature.end());
    const auto offset = static_cast<std::size_t>(at - bytes.begin()) + veldra::formats::DrawPriorityDistance;
    return offset < bytes.size() ? static_cast<unsigned char>(bytes[offset] ^ bytes[0]) : -1;
}

std::vector<char> readUpTo(const fs::path& file, std::size_t limit) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes(limit);
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void Ours(benchmark::State& state) {
    for (auto _ : state)
        for (const fs::path& tile : tiles()) benchmark::DoNotOptimize(veldra::formats::readImgDrawPriority(tile).value);
    state.counters["tiles"] = static_cast<double>(tiles().size());
}

void WholeFile(benchmark::State& state) {
    for (auto _ : state)
        for (const fs::path& tile : tiles())
            benchmark::DoNotOptimize(drawPriorityIn(readUpTo(tile, static_cast<std::size_t>(fs::file_size(tile)))));
}

void First64KiB(benchmark::State& state) {
    for (auto _ : state)
        for (const fs::path& tile : tiles()) benchmark::DoNotOptimize(drawPriorityIn(readUpTo(tile, 64 * 1024)));
}

}  // namespace

BENCHMARK(Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(First64KiB)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
