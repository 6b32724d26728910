// `export` in one prefix and `import` of the folder into a second fresh one:
// the second lists the same mapsets with paths into the imported folder, and
// Wine's shell follows the shortcut the package import wrote.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <tuple>

#include <nlohmann/json.hpp>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::outputLines;
using testing::shellQuote;
using testing::WineTestPrefix;

class ExportImportCommandsWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        source = WineTestPrefix::path();
        ASSERT_TRUE(fs::exists(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "11000000.tdb"))
            << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
        target = scratch.path() / "target-prefix";
        ASSERT_TRUE(testing::wineboot(target, "-i")) << "wineboot made no second prefix";
        for (const auto& prefix : {source, target}) ASSERT_EQ(veldra(prefix, "--yes settings --os64 yes").status, 0);
    }
    void TearDown() override {
        if (!target.empty()) testing::stopWineServer(target);
    }

    testing::CommandResult veldra(const fs::path& prefix, const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments, false);
    }
    // The listed entry with this FID; null when there is none.
    json listed(const fs::path& prefix, int fid) const {
        const auto run = veldra(prefix, "list --json");
        EXPECT_EQ(run.status, 0);
        for (const auto& entry : json::parse(run.output))
            if (entry["fid"] == fid) return entry;
        return nullptr;
    }
    // The mkgmap family copied into the source prefix's drive C.
    fs::path copyFamily(const std::string& family) const {
        const fs::path folder = source / "drive_c" / "export-test" / family;
        fs::create_directories(folder);
        for (const auto& file : fs::directory_iterator(fs::path(VELDRA_BUILT_DATA_DIR) / family))
            fs::copy_file(file.path(), folder / file.path().filename(), fs::copy_options::overwrite_existing);
        return folder;
    }
    static std::string hostOutside(const fs::path& native) {
        std::string host = "Z:" + native.string();
        std::replace(host.begin(), host.end(), '/', '\\');
        return host;
    }

    fs::path source, target;
    testing::TempDir scratch;
};

// One test: Wine takes long to make the two prefixes.
TEST_F(ExportImportCommandsWineTest, RegistryMapsetAndPackageArriveWithPathsIntoTheImportedFolder) {
    const fs::path alpha = copyFamily("alpha");
    ASSERT_EQ(veldra(source, "--yes register --tdb " + shellQuote((alpha / "11000000.tdb").string()) + " --overview " +
                                 shellQuote((alpha / "11000000.img").string()) + " --mdr " +
                                 shellQuote((alpha / "11000000_mdr.img").string()) + " --typ " +
                                 shellQuote((alpha / "alpha.typ").string()) + " --fid 5301 --name ExportAlpha")
                  .status,
              0);
    const json original = listed(source, 5301);
    ASSERT_FALSE(original.is_null());

    const fs::path out = scratch.path() / "usb";
    const auto exported = veldra(source, "export 5301 " + shellQuote(out.string()));
    ASSERT_EQ(exported.status, 0) << exported.output;
    EXPECT_EQ(outputLines(exported.output).back(), (out / "alpha").string());
    EXPECT_EQ(testing::readText(out / "alpha" / "log"),
              "11000000_mdr.img\r\n18120.Typ\r\n11000000.tdb\r\n11000000.img\r\n");

    const fs::path destination = scratch.path() / "maps";
    const auto imported = veldra(target, "--no import " + shellQuote((out / "alpha").string()) + " --to " +
                                             shellQuote(destination.string()));
    ASSERT_EQ(imported.status, 0) << imported.output;
    const json copy = listed(target, 5301);
    ASSERT_FALSE(copy.is_null());
    EXPECT_EQ(std::make_tuple(copy["name"], copy["pid"]), std::make_tuple("ExportAlpha", original["pid"]));
    const std::string folder = hostOutside(destination / "alpha");
    EXPECT_EQ(std::make_tuple(copy["loc"], copy["tdb"], copy["overview"], copy["typ"]),
              std::make_tuple(folder, folder + "\\11000000.tdb", folder + "\\11000000.img", folder + "\\18120.Typ"));

    // The package arrives through a shortcut Wine's shell follows.
    const fs::path beta = copyFamily("beta");
    ASSERT_EQ(veldra(source, "--yes register --gmap --tdb " + shellQuote((beta / "00120000.tdb").string()) +
                                 " --overview " + shellQuote((beta / "00120000.img").string()) +
                                 " --fid 5302 --name ExportBeta")
                  .status,
              0);
    ASSERT_EQ(veldra(source, "--yes export 5302 " + shellQuote(out.string())).status, 0);
    ASSERT_TRUE(fs::exists(out / "ExportBeta.gmap" / "Info.xml"));

    const auto importedPackage = veldra(target, "--no import " + shellQuote((out / "ExportBeta.gmap").string()) +
                                                    " --to " + shellQuote(destination.string()) + " --all-users no");
    ASSERT_EQ(importedPackage.status, 0) << importedPackage.output;
    const json packageCopy = listed(target, 5302);
    ASSERT_FALSE(packageCopy.is_null());
    EXPECT_EQ(packageCopy["display"], "gmap; ExportBeta; FID:5302;PID:1");
    EXPECT_EQ(packageCopy["infoXml"], hostOutside(destination / "ExportBeta.gmap") + "\\Info.xml");

    // The shortcut lies in the user's gmap package folder; Wine's shell names its target.
    const fs::path link = outputLines(importedPackage.output).back();
    ASSERT_EQ(link.filename(), "Link_ExportBeta.lnk");
    const auto linkFolder =
        outputLines(testing::runInWine(target, "winepath -w " + shellQuote(link.parent_path().string())).output);
    ASSERT_FALSE(linkFolder.empty());
    EXPECT_NE(linkFolder.front().find("\\AppData\\Roaming\\GARMIN\\Maps"), std::string::npos) << linkFolder.front();
    std::ofstream(target / "drive_c" / "link.vbs", std::ios::binary)
        << "Set shell = CreateObject(\"Shell.Application\")\r\n"
           "WScript.Echo shell.NameSpace(WScript.Arguments(0)).ParseName(WScript.Arguments(1)).GetLink.Path\r\n";
    const auto resolved = outputLines(testing::runInWine(target, "wine cscript //nologo 'C:\\link.vbs' " +
                                                                     shellQuote(linkFolder.front()) + " Link_ExportBeta.lnk")
                                          .output);
    ASSERT_FALSE(resolved.empty());
    EXPECT_EQ(resolved.front(), hostOutside(destination / "ExportBeta.gmap"));
}

}  // namespace
}  // namespace veldra
