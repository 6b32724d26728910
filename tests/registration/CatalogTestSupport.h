#pragma once
// A fake host with mapsets installed the way the host programs find them:
// copies of mkgmap's TDB and overview map registered under the host registry
// root, and gmap packages in the common GARMIN\Maps folder.

#include <array>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/Result.h"
#include "formats/TdbRename.h"
#include "gmap/GmapTestFiles.h"
#include "registration/HostRegistryLayout.h"
#include "support/FakeHost.h"
#include "support/MapFiles.h"

namespace veldra::testing {

namespace fs = std::filesystem;

// How a core operation ended, in the three ways the tests tell apart.
enum class Outcome { Done, Declined, Failed };

inline Outcome outcomeOf(const Status& status) {
    if (status) return Outcome::Done;
    return status.failure().kind == FailureKind::Declined ? Outcome::Declined : Outcome::Failed;
}

// Host paths of one mapset's files.
struct MapsetFiles {
    std::string tdb, overview, loc;
};

class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(AlphaTdb)) << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
    }

    std::string host(const fs::path& native) const { return fake.paths.toHost(native); }
    fs::path native(const std::string& hostPath) const { return fake.paths.toNative(hostPath); }
    std::string key(registration::RecordKind kind) const { return registration::branchKey(fake.session, kind); }

    // alpha's TDB and overview map (FID 4711, PID 1, "Veldra Alpha") in maps/<folder>/,
    // optionally renamed inside and given other identifiers.
    MapsetFiles installAlpha(const std::string& folder, const std::string& name = {}, int fid = -1, int pid = -1) {
        const fs::path dir = fake.temp.path() / "maps" / folder;
        fs::create_directories(dir);
        auto bytes = readBytes(AlphaTdb);
        if (!name.empty()) bytes = formats::renameTdbImage(bytes, name)->image;
        if (fid >= 0) bytes[5] = static_cast<std::uint8_t>(fid & 0xFF), bytes[6] = static_cast<std::uint8_t>(fid >> 8);
        if (pid >= 0) bytes[3] = static_cast<std::uint8_t>(pid & 0xFF), bytes[4] = static_cast<std::uint8_t>(pid >> 8);
        writeBytes(dir / "11000000.tdb", bytes);
        fs::copy_file(builtData("alpha/11000000.img"), dir / "11000000.img");
        return {host(dir / "11000000.tdb"), host(dir / "11000000.img"), host(dir) + "\\"};
    }

    // As the integration writes a family: ID in the family key, the paths under the product
    // subkey. The old layouts take the paths directly in the key (`parentKey`, e.g. a product key).
    void registerFamily(registration::RecordKind kind, const std::string& family, const MapsetFiles& files,
                        const std::string& product = "1", std::uint16_t fid = 4711) {
        const std::string familyKey = key(kind) + family;
        EXPECT_TRUE(fake.session.routines.storeTextAsBinary(Machine, familyKey, "ID", registration::familyIdText(fid)).ok());
        storePaths(familyKey + "\\" + product, files, {"TDB", "BMAP", "LOC"});
    }
    void registerProduct(const std::string& number, const MapsetFiles& files) {
        storePaths(key(registration::RecordKind::Products) + number, files);
    }
    void storePaths(const std::string& keyPath, const MapsetFiles& files,
                    const std::array<const char*, 3>& names = {"TDB", "Bmap", "Loc"}) {
        EXPECT_TRUE(fake.session.routines.storeString(Machine, keyPath, names[0], files.tdb).ok());
        EXPECT_TRUE(fake.session.routines.storeString(Machine, keyPath, names[1], files.overview).ok());
        EXPECT_TRUE(fake.session.routines.storeString(Machine, keyPath, names[2], files.loc).ok());
    }

    // A package folder <name>.gmap with Info.xml and its TDB in Product1.
    fs::path installPackage(const std::string& name, const std::string& fid, const std::string& extraXml = {}) {
        const fs::path package =
            fake.shell.specialFolder(platform::csidl::CommonAppData) / "GARMIN" / "Maps" / (name + ".gmap");
        std::string xml = packageInfoXml(name, fid, "11000000.tdb");
        if (!extraXml.empty()) xml.insert(xml.find("<SubProduct>"), extraXml);
        writeCp1252(package / "Info.xml", xml);
        fs::create_directories(package / "Product1");
        writeBytes(package / "Product1" / "11000000.tdb", formats::renameTdbImage(readBytes(AlphaTdb), name)->image);
        return package;
    }

    bool keyExists(const std::string& path) const { return fake.registry.keyExists(Machine, path); }
    std::string value(const std::string& path, const std::string& name) const {
        auto v = fake.registry.queryValue(Machine, path, name);
        return v ? v->text() : "<missing>";
    }

    static constexpr auto Machine = platform::RegistryRoot::LocalMachine;
    FakeHost fake;
};

}  // namespace veldra::testing
