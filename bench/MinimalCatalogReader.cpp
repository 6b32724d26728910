// The reference of the catalog benchmark: only the reading a catalog cannot do
// without. One read of system.reg, the first 512 bytes of each mapset's TDB
// (and a look that its overview map is there), each gmap package's Info.xml;
// one line per mapset on standard output. It assumes the layout the benchmark
// makes (drive C: only, paths spelled as on disk) and checks nothing else.
// Usage: veldra_bench_minimal_catalog PREFIX

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Branch = "[Software\\\\Wow6432Node\\\\Garmin\\\\MapSource\\\\Families\\\\";

// Key names keep the case they were made with.
bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "C:\\maps\\x" as written in the file to PREFIX/dosdevices/c:/maps/x.
std::string nativeOf(const std::string& prefix, std::string_view escaped) {
    std::string path = prefix + "/dosdevices/c:";
    for (std::size_t i = 2; i < escaped.size(); ++i) {
        if (escaped[i] == '\\') ++i;  // "\\" stands for one backslash
        if (i < escaped.size()) path += escaped[i] == '\\' ? '/' : escaped[i];
    }
    return path;
}

// A key name as the file writes it: "\\" for each backslash.
std::string unescaped(std::string_view escaped) {
    std::string text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\') ++i;
        if (i < escaped.size()) text += escaped[i];
    }
    return text;
}

std::string_view quotedValue(std::string_view line, std::string_view name) {
    if (!line.starts_with(name)) return {};
    line.remove_prefix(name.size());
    return line.substr(0, line.rfind('"'));
}

std::string describe(const std::string& tdb, const std::string& overview, std::string_view family) {
    struct stat info {};
    if (::stat(overview.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "overview missing";
    unsigned char header[512] = {};
    if (FILE* file = std::fopen(tdb.c_str(), "rb")) {
        const std::size_t got = std::fread(header, 1, sizeof header, file);
        std::fclose(file);
        if (got < 9) return "TDB too short";
    } else {
        return "TDB missing";
    }
    const auto pid = static_cast<unsigned>(header[3] | header[4] << 8);
    const auto fid = static_cast<unsigned>(header[5] | header[6] << 8);
    const char* name = reinterpret_cast<const char*>(header + 9);
    return std::string(name, strnlen(name, 40)) + "\tFID:" + std::to_string(fid) + "\tPID:" + std::to_string(pid) +
           "\tFamilies\t" + unescaped(family);
}

// The text of the first element of that name.
std::string element(const std::string& xml, const std::string& name) {
    const auto start = xml.find("<" + name + ">");
    const auto end = xml.find("</" + name + ">");
    if (start == std::string::npos || end == std::string::npos || end < start) return {};
    return xml.substr(start + name.size() + 2, end - start - name.size() - 2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: veldra_bench_minimal_catalog PREFIX\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const std::string text = readWhole(prefix + "/system.reg");

    std::vector<std::string> lines;
    std::string_view family, tdb, overview;
    const auto finishKey = [&] {
        if (!tdb.empty() && !overview.empty())
            lines.push_back(describe(nativeOf(prefix, tdb), nativeOf(prefix, overview), family));
        tdb = overview = {};
    };
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.starts_with('[')) {
            finishKey();
            family = startsWithIgnoringCase(line, Branch) ? line.substr(Branch.size(), line.find(']') - Branch.size()) : "";
        } else if (!family.empty()) {
            if (const auto value = quotedValue(line, "\"TDB\"=\""); !value.empty()) tdb = value;
            if (const auto value = quotedValue(line, "\"BMAP\"=\""); !value.empty()) overview = value;
        }
    }
    finishKey();
    std::sort(lines.begin(), lines.end());

    std::error_code ec;
    std::vector<fs::path> packages;
    for (const auto& entry : fs::directory_iterator(prefix + "/drive_c/ProgramData/GARMIN/Maps", ec))
        packages.push_back(entry.path());
    std::sort(packages.begin(), packages.end());
    for (const fs::path& package : packages) {
        const std::string xml = readWhole(package / "Info.xml");
        lines.push_back("gmap; " + element(xml, "Name") + "; FID:" + element(xml, "ID") + ";PID:1");
    }
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return 0;
}
