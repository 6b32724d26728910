// Makes the prefix the catalog benchmark lists: a new prefix laid out by our
// own backend, MAPSETS registry mapsets (each a family key with its product
// key "1", pointing at its own links to one mkgmap-made TDB and overview map)
// and PACKAGES gmap packages in C:\ProgramData\GARMIN\Maps.
// Usage: veldra_bench_catalog_prefix PREFIX DATA_DIR MAPSETS PACKAGES

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "gmap/InfoXmlWriting.h"
#include "platform/CurrentUser.h"
#include "platform/Prefix.h"
#include "platform/WinePrefixRegistry.h"

namespace fs = std::filesystem;
using namespace veldra;

namespace {

constexpr auto Machine = platform::RegistryRoot::LocalMachine;
// The branch the host programs read on a 64-bit Windows (`settings --os64 yes`).
constexpr const char* FamiliesKey = "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\";

int stop(const std::string& why) {
    std::fprintf(stderr, "veldra_bench_catalog_prefix: %s\n", why.c_str());
    return 1;
}

std::string numbered(const char* stem, int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%05d", stem, i);
    return text;
}

// The mapset's own names for the shared files: the catalog opens every one.
void link(const fs::path& source, const fs::path& target) {
    fs::create_directories(target.parent_path());
    fs::create_hard_link(source, target);
}

bool addRegistryMapset(platform::Registry& registry, const fs::path& driveC, const fs::path& data, int i) {
    const std::string folder = numbered("r", i);
    link(data / "alpha" / "11000000.tdb", driveC / "maps" / folder / "11000000.TDB");
    link(data / "alpha" / "11000000.img", driveC / "maps" / folder / "11000000.img");
    const std::string host = "C:\\maps\\" + folder + "\\";
    const std::string family = FamiliesKey + numbered("Bench", i);
    const auto fid = static_cast<std::uint8_t>(i % 200 + 10);
    return registry.createKey(Machine, family + "\\1") == platform::regerror::Success &&
           registry.setValue(Machine, family, "ID", platform::RegistryValue::fromBytes({fid, 0})) == 0 &&
           registry.setValue(Machine, family + "\\1", "TDB", platform::RegistryValue::fromString(host + "11000000.TDB")) == 0 &&
           registry.setValue(Machine, family + "\\1", "BMAP", platform::RegistryValue::fromString(host + "11000000.img")) == 0 &&
           registry.setValue(Machine, family + "\\1", "LOC", platform::RegistryValue::fromString(host)) == 0;
}

bool addPackage(const fs::path& driveC, const fs::path& data, int i) {
    const fs::path package = driveC / "ProgramData" / "GARMIN" / "Maps" / (numbered("Bench", i) + ".gmap");
    link(data / "alpha" / "11000000.tdb", package / "Product1" / "11000000.tdb");
    const gmap::InfoXmlContent info{numbered("Bench ", i), std::to_string(5000 + i), std::nullopt, false,
                                    std::nullopt, "1", "11000000.tdb", "Product1"};
    return static_cast<bool>(gmap::writeInfoXml(package, info));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) return stop("usage: PREFIX DATA_DIR MAPSETS PACKAGES");
    const fs::path prefix = fs::absolute(argv[1]);
    const fs::path data = argv[2];
    const int mapsets = std::atoi(argv[3]);
    const int packages = std::atoi(argv[4]);
    if (fs::exists(prefix)) return stop(prefix.string() + " exists");

    const auto made = platform::ensureDefaultPrefix({prefix, true}, platform::currentUserName(),
                                                    [](const fs::path& dir) { return std::make_unique<platform::WinePrefixRegistry>(dir); });
    if (!made) return stop(made.error);

    platform::WinePrefixRegistry registry(prefix);
    if (!registry.beginEdit()) return stop("cannot edit the registry");
    const fs::path driveC = prefix / "drive_c";
    for (int i = 1; i <= mapsets; ++i)
        if (!addRegistryMapset(registry, driveC, data, i)) return stop("cannot write mapset " + std::to_string(i));
    if (auto committed = registry.commitEdit(); !committed) return stop(committed.failure().detail);
    for (int i = 1; i <= packages; ++i)
        if (!addPackage(driveC, data, i)) return stop("cannot write package " + std::to_string(i));
    return 0;
}
