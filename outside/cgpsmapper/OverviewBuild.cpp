#include "cgpsmapper/OverviewBuild.h"

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "cgpsmapper/JavaRuntime.h"
#include "cgpsmapper/OverviewSourceFacts.h"
#include "common/OverviewSourceKeys.h"
#include "common/RunProgram.h"
#include "formats/TdbTileList.h"
#include "platform/AtomicFile.h"
#include "platform/PathText.h"

namespace veldra::outside {
namespace fs = std::filesystem;
namespace {

constexpr const char* MapsetStem = "mapset";

// A fresh folder beside the source, removed with everything in it at the end.
class WorkFolder {
public:
    explicit WorkFolder(const fs::path& beside) {
        std::random_device random;
        path_ = beside.parent_path() / (".cgpsmapper-" + std::to_string(random()));
        fs::create_directory(path_, ec_);
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    bool made() const { return !ec_; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    std::error_code ec_;
};

struct Job {
    std::vector<std::string> options;
    std::vector<fs::path> results;  // made in the work folder, moved beside the source
};

std::string text(const fs::path& path) { return platform::pathText(path); }

// The overview map compiled from the source itself.
Job compileJob(const fs::path& source, const OverviewSourceFacts& facts, const fs::path& work) {
    Job job;
    job.options = {"--output-dir=" + text(work), "--min-size-polygon=1", "--no-tdbfile", "--lower-case"};
    const auto number = facts.number(mpkeys::MapNumber);
    const std::uint32_t mapNumber = number ? *number : 63240001;  // mkgmap's own default
    job.options.push_back("--mapname=" + formats::tileFileName(mapNumber));
    // Labels keep their case and characters only in a code page of their own.
    if (const auto codePage = facts.number(mpkeys::CodePage)) job.options.push_back("--code-page=" + std::to_string(*codePage));
    job.options.push_back(text(source));
    job.results = {work / (formats::tileFileName(mapNumber) + ".img")};
    return job;
}

// Overview map, TDB and index built from the tiles the source lists.
std::optional<Job> mapsetJob(const fs::path& source, const OverviewSourceFacts& facts, const fs::path& work,
                             std::ostream& out) {
    const auto number = facts.number(mpkeys::MapNumber);
    const auto fid = facts.number(mpkeys::FamilyId);
    if (!number || !fid || facts.tileNumbers.empty()) {
        out << "cgpsmapper.exe: " << text(source) << " lacks the map number, the family ID or the tiles of a mapset\n";
        return std::nullopt;
    }
    Job job;
    const auto pid = facts.number(mpkeys::ProductId);
    job.options = {"--output-dir=" + text(work),
                   "--tdbfile",
                   "--index",
                   std::string("--overview-mapname=") + MapsetStem,
                   "--overview-mapnumber=" + formats::tileFileName(*number),
                   "--family-id=" + std::to_string(*fid),
                   "--product-id=" + std::to_string(pid ? *pid : 1),
                   "--series-name=" + facts.value(mpkeys::SeriesName),
                   "--family-name=" + facts.value(mpkeys::FamilyName)};
    if (const auto codePage = facts.number(mpkeys::CodePage)) job.options.push_back("--code-page=" + std::to_string(*codePage));
    for (const auto tile : facts.tileNumbers) {
        const fs::path path = source.parent_path() / (formats::tileFileName(tile) + ".img");
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            out << "cgpsmapper.exe: the tile " << text(path) << " is missing\n";
            return std::nullopt;
        }
        job.options.push_back(text(path));
    }
    for (const char* extension : {".img", ".tdb", ".mdx"}) job.results.push_back(work / (std::string(MapsetStem) + extension));
    return job;
}

bool moveResults(const Job& job, const fs::path& source, std::ostream& out) {
    std::error_code ec;
    for (const auto& result : job.results) {
        if (!fs::is_regular_file(result, ec)) {
            out << "cgpsmapper.exe: mkgmap did not make " << text(result.filename()) << "; no file written\n";
            return false;
        }
    }
    for (const auto& result : job.results) {
        const fs::path target = source.parent_path() / (source.stem().string() + result.extension().string());
        fs::rename(result, target, ec);
        if (ec) {
            out << "cgpsmapper.exe: cannot write " << text(target) << ": " << ec.message() << "\n";
            return false;
        }
        out << "wrote " << text(target) << "\n";
    }
    return true;
}

}  // namespace

bool buildOverview(const fs::path& source, const fs::path& programFolder, std::ostream& out) {
    std::vector<std::uint8_t> bytes;
    if (const auto read = platform::readWholeFile(source, bytes); !read) {
        out << "cgpsmapper.exe: cannot read " << text(source) << "\n";
        return false;
    }
    const fs::path jar = programFolder / "mkgmap.jar";
    std::error_code ec;
    if (!fs::is_regular_file(jar, ec)) {
        out << "cgpsmapper.exe: mkgmap is not installed (" << text(jar) << " is missing); no overview map made\n";
        return false;
    }
    const fs::path java = findJava();
    if (java.empty()) {
        out << "cgpsmapper.exe: no Java runtime found (java is neither in JAVA_HOME nor on PATH); no overview map made\n";
        return false;
    }
    const WorkFolder work(source);
    if (!work.made()) {
        out << "cgpsmapper.exe: cannot make a work folder beside " << text(source) << "\n";
        return false;
    }
    const auto facts = readOverviewSource({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    std::string stem = text(source.stem());
    std::transform(stem.begin(), stem.end(), stem.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    const bool mapset = stem == MapsetStem;
    const auto job = mapset ? mapsetJob(source, facts, work.path(), out) : compileJob(source, facts, work.path());
    if (!job) return false;

    std::vector<std::string> command = {text(java), "-jar", text(jar)};
    command.insert(command.end(), job->options.begin(), job->options.end());
    out << "cgpsmapper.exe: running " << commandLineOf(command) << std::endl;
    if (!runProgram(command)) {
        out << "cgpsmapper.exe: cannot start " << text(java) << "\n";
        return false;
    }
    return moveResults(*job, source, out);
}

}  // namespace veldra::outside
