// In-process figures of the registry file: parsing system.reg and finding
// every mapset's product key, at 1,000 and 10,000 family keys under one
// parent. The reference is splitting the same text into lines, the least any
// reader of the file does; the ratio shows what parsing adds, and the two
// sizes show whether the cost grows with the number of keys alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/WineRegistryFile.h"

namespace {

using veldra::platform::RegistryValue;
using veldra::platform::WineRegistryFile;

constexpr const char* Families = "Software\\Wow6432Node\\Garmin\\MapSource\\Families\\";

std::string familyName(long i) {
    char text[32];
    std::snprintf(text, sizeof text, "Bench%05ld", i);
    return text;
}

// The system.reg our writer saves for that many registry mapsets.
const std::string& registryText(long families) {
    static std::string text;
    static long madeFor = 0;
    if (madeFor == families) return text;
    WineRegistryFile file("\\\\Machine", "win64");
    for (long i = 1; i <= families; ++i) {
        const std::string product = Families + familyName(i) + "\\1";
        const std::string host = "C:\\maps\\r" + std::to_string(i) + "\\";
        file.createKey(product, 0);
        file.findKey(Families + familyName(i))->setValue(u"ID", RegistryValue::fromBytes({11, 0}));
        auto* key = file.findKey(product);
        key->setValue(u"TDB", RegistryValue::fromString(host + "11000000.TDB"));
        key->setValue(u"BMAP", RegistryValue::fromString(host + "11000000.img"));
        key->setValue(u"LOC", RegistryValue::fromString(host));
    }
    text = file.serialize();
    madeFor = families;
    return text;
}

void ParseRegistry(benchmark::State& state) {
    const std::string& text = registryText(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(WineRegistryFile::parse(text, 0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void FindEveryProductKey(benchmark::State& state) {
    const auto load = WineRegistryFile::parse(registryText(state.range(0)), 0);
    std::vector<std::string> paths;
    for (long i = 1; i <= state.range(0); ++i) paths.push_back(Families + familyName(i) + "\\1");
    for (auto _ : state)
        for (const std::string& path : paths) benchmark::DoNotOptimize(load.file->findKey(path));
}

void SplitLines(benchmark::State& state) {
    const std::string& text = registryText(state.range(0));
    for (auto _ : state) {
        std::size_t lines = 0;
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(SplitLines)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseRegistry)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindEveryProductKey)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
