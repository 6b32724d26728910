// The catalog commands against a prefix that Wine made and filled: keys added
// with `wine reg add`, a shortcut made by WScript.Shell, and Wine reading back
// what `veldra` changed.

#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::runCommand;
using testing::shellQuote;
using testing::WineTestPrefix;

const std::string FamilyKey = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Alpha4711";

class CatalogCommandsWine : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE_PREFIX();
        prefix = WineTestPrefix::path();
        ASSERT_TRUE(fs::exists(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "11000000.tdb"))
            << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
    }

    testing::CommandResult wine(const std::string& command) const {
        return runCommand(testing::wineCommand(prefix, command));
    }
    // Wine's programs leave the server running a few seconds; it saves the
    // registry when it ends.
    void waitForServer() const { wine("wineserver -w"); }
    // Exit code and standard output of `veldra`.
    testing::CommandResult veldra(const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments, false);
    }
    std::string regAdd(const std::string& key, const std::string& name, const std::string& type,
                       const std::string& data) const {
        return testing::wineCommand(prefix, "wine reg add " + shellQuote(key) + " /v " + name + " /t " + type +
                                                " /d " + shellQuote(data) + " /f >/dev/null");
    }
    fs::path drive(const std::string& relative) const { return prefix / "drive_c" / relative; }

    fs::path prefix;
};

TEST_F(CatalogCommandsWine, ListTypRenameRemoveOnWhatWineWrote) {
    const fs::path data = fs::path(VELDRA_BUILT_DATA_DIR) / "alpha";
    fs::create_directories(drive("maps/alpha"));
    for (const char* file : {"11000000.tdb", "11000000.img", "alpha.typ"})
        fs::copy_file(data / file, drive("maps/alpha") / file, fs::copy_options::overwrite_existing);
    // One after the other while the first one's server still runs.
    ASSERT_EQ(runCommand(regAdd(FamilyKey, "ID", "REG_BINARY", "6712") + " && " +
                   regAdd(FamilyKey + "\\1", "TDB", "REG_SZ", "C:\\maps\\alpha\\11000000.tdb") + " && " +
                   regAdd(FamilyKey + "\\1", "BMAP", "REG_SZ", "C:\\maps\\alpha\\11000000.img") + " && " +
                   regAdd(FamilyKey + "\\1", "LOC", "REG_SZ", "C:\\maps\\alpha\\"))
                  .status,
              0);

    // A package outside the maps folders, found through Wine's own shortcut.
    const fs::path package = drive("maps/Topo North.gmap");
    fs::create_directories(package / "Product1");
    std::ofstream(package / "Info.xml", std::ios::binary)
        << "<MapProduct>\r\n<Name>Topo North</Name>\r\n<ID>12</ID>\r\n<SubProduct>\r\n<Name>Topo North</Name>\r\n"
           "<ID>1</ID>\r\n<TDB>topo.tdb</TDB>\r\n</SubProduct>\r\n</MapProduct>\r\n";
    fs::create_directories(drive("ProgramData/Garmin/Maps"));
    std::ofstream(drive("link.vbs")) << "Set l = CreateObject(\"WScript.Shell\").CreateShortcut(WScript.Arguments(0))\n"
                                        "l.TargetPath = WScript.Arguments(1)\nl.Save\n";
    ASSERT_EQ(wine("wine cscript //nologo 'C:\\link.vbs' 'C:\\ProgramData\\Garmin\\Maps\\Topo.lnk' "
                   "'C:\\maps\\Topo North.gmap'")
                  .status,
              0);
    ASSERT_TRUE(fs::exists(drive("ProgramData/Garmin/Maps/Topo.lnk")));

    ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    const auto listed = veldra("list --json");
    ASSERT_EQ(listed.status, 0) << listed.output;
    const auto entries = nlohmann::json::parse(listed.output);
    ASSERT_EQ(entries.size(), 2u) << listed.output;
    EXPECT_EQ(entries[0]["kind"], "Families");
    EXPECT_EQ(entries[0]["name"], "Veldra Alpha");
    EXPECT_EQ(entries[0]["fid"], 4711);
    EXPECT_EQ(entries[0]["subkey"], "Alpha4711\\1");
    EXPECT_EQ(entries[1]["kind"], "gmap");
    EXPECT_EQ(entries[1]["display"], "gmap; Topo North; FID:12;PID:1");
    EXPECT_EQ(entries[1]["tdb"], "C:\\maps\\Topo North.gmap\\Product1\\topo.tdb");
    EXPECT_EQ(veldra("free-fid").output, "10\n");

    const auto typ = veldra("typ 'Veldra Alpha' " + shellQuote(drive("maps/alpha/alpha.typ").string()));
    EXPECT_EQ(typ.status, 0) << typ.output;
    const auto query = wine("wine reg query " + shellQuote(FamilyKey) + " /v TYP");
    EXPECT_NE(query.output.find("C:\\maps\\alpha\\10318.TYP"), std::string::npos) << query.output;
    EXPECT_TRUE(fs::exists(drive("maps/alpha/10318.TYP")));

    EXPECT_EQ(veldra("rename 4711 Alpen").status, 0);
    EXPECT_EQ(veldra("rename Unknown X").status, 1);
    EXPECT_NE(veldra("list").output.find("Alpen\tFID:4711\tPID:1\tFamilies\tAlpha4711\\1"), std::string::npos);

    EXPECT_EQ(veldra("--no remove Alpen").status, 1);
    EXPECT_EQ(veldra("--yes remove Alpen").status, 0);
    EXPECT_NE(wine("wine reg query " + shellQuote(FamilyKey) + " >/dev/null").status, 0);
    waitForServer();
    EXPECT_FALSE(fs::exists(drive("maps/alpha/11000000.tdb")));
    EXPECT_EQ(veldra("--yes remove 'Topo North'").status, 0);
    EXPECT_FALSE(fs::exists(package));
    EXPECT_EQ(veldra("list --json").output, "[]\n");
}

}  // namespace
}  // namespace veldra
