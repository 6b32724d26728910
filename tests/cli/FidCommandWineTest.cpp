// `veldra fid` in a prefix that Wine made for the test: a family registered
// with `wine reg add` and a gmap package take a new FID in every file, Wine
// reads the new values back, and a change that fails midway leaves every file
// and value as it was.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::shellQuote;
using Bytes = std::vector<std::uint8_t>;

const std::string Families = "HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\";

class FidCommandWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE();
        ASSERT_TRUE(fs::exists(data("alpha") / "11000000.tdb"))
            << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
        ASSERT_TRUE(testing::wineboot(prefix, "-i"));
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    }
    void TearDown() override { testing::stopWineServer(prefix); }

    static fs::path data(const std::string& folder) { return fs::path(VELDRA_BUILT_DATA_DIR) / folder; }
    fs::path drive(const std::string& relative) const { return prefix / "drive_c" / relative; }
    // Exit code and output (both streams) of `veldra`, once Wine's server has saved the registry.
    testing::CommandResult veldra(const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments);
    }
    std::string regQuery(const std::string& key, const std::string& name) const {
        return testing::runInWine(prefix, "wine reg query " + shellQuote(key) + " /v " + name).output;
    }

    // A family as the integration registers it, with its type file and index file:
    // mkgmap's files of `folder` (tiles `tdbBase`) copied to C:\maps\<folder>.
    void registerFamily(const std::string& family, const std::string& folder, const std::string& tdbBase,
                        const std::string& idBytes, const std::string& typName) {
        fs::create_directories(drive("maps/" + folder));
        for (const auto& file : {tdbBase + ".tdb", tdbBase + ".img", tdbBase + ".mdx"})
            fs::copy_file(data(folder) / file, drive("maps/" + folder) / file);
        fs::copy_file(data(folder) / (folder + ".typ"), drive("maps/" + folder) / typName);
        const std::string at = "C:\\maps\\" + folder + "\\";
        ASSERT_TRUE(testing::registerFamilyWithWine(prefix, Families + family, folder, tdbBase, idBytes,
                                                    {{"TYP", at + typName}, {"IDX", at + tdbBase + ".mdx"}}));
    }

    // The package Topo (FID 12) in the common maps folder, with alpha's TDB, index file and type file.
    fs::path installPackage() const {
        const fs::path package = drive("ProgramData/Garmin/Maps/Topo.gmap");
        fs::create_directories(package / "Product1");
        testing::writeText(package / "Info.xml",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\r\n<MapProduct>\r\n"
                           "<Name>Topo</Name>\r\n<ID>12</ID>\r\n<IDX>11000000.mdx</IDX>\r\n<TYP>topo.typ</TYP>\r\n"
                           "<SubProduct>\r\n<Name>Topo</Name>\r\n<ID>1</ID>\r\n<TDB>11000000.tdb</TDB>\r\n"
                           "<Directory>Product1</Directory>\r\n</SubProduct>\r\n</MapProduct>\r\n");
        fs::copy_file(data("alpha") / "11000000.tdb", package / "Product1" / "11000000.tdb");
        fs::copy_file(data("alpha") / "11000000.mdx", package / "11000000.mdx");
        fs::copy_file(data("alpha") / "alpha.typ", package / "topo.typ");
        return package;
    }

    // What `veldra inspect` reads from a TDB, type file or index file.
    nlohmann::json inspect(const fs::path& file) const {
        const auto run = veldra("inspect --json " + shellQuote(file.string()));
        EXPECT_EQ(run.status, 0) << run.output;
        const auto seen = nlohmann::json::parse(run.output, nullptr, false);
        return seen.is_array() ? seen.at(0) : seen;
    }
    static std::pair<int, int> bytesAt(const fs::path& file, std::size_t offset) {
        const auto bytes = testing::readBytes(file);
        return {bytes.at(offset), bytes.at(offset + 1)};
    }
    static std::vector<int> mdxFids(const nlohmann::json& seen) {
        std::vector<int> fids;
        for (const auto& record : seen.at("records")) fids.push_back(record.at("fid"));
        return fids;
    }

    testing::TempDir home;
    fs::path prefix = home.path() / "wine";
};

// One test: Wine takes long to make a prefix.
TEST_F(FidCommandWineTest, FamilyAndPackageTakeTheNewFidEverywhereAndAFailedChangeLeavesAllAsItWas) {
    ASSERT_NO_FATAL_FAILURE(registerFamily("Alpha4711", "alpha", "11000000", "6712", "10318.TYP"));
    const fs::path package = installPackage();
    const fs::path alpha = drive("maps/alpha");

    // 4800 = 0x12C0: low byte 0xC0 (192), high byte 0x12 (18).
    const auto changed = veldra("fid 4711 4800");
    ASSERT_EQ(changed.status, 0) << changed.output;
    EXPECT_EQ(changed.output, "Veldra Alpha\tFID:4800\tPID:1\tFamilies\tAlpha4711\\1\n");
    EXPECT_EQ(bytesAt(alpha / "11000000.tdb", 5), std::make_pair(0xC0, 0x12));
    const auto tdb = inspect(alpha / "11000000.tdb");
    EXPECT_EQ(tdb["fid"], 4800);
    EXPECT_EQ(tdb["checksumOk"], true);
    EXPECT_EQ(bytesAt(alpha / "19218.Typ", 47), std::make_pair(0xC0, 0x12));
    EXPECT_EQ(inspect(alpha / "10318.TYP")["fid"], 4711) << "the old type file stays as it was";
    EXPECT_EQ(mdxFids(inspect(alpha / "11000000.mdx")), (std::vector<int>{4800, 4800, 4800}));
    EXPECT_NE(regQuery(Families + "Alpha4711", "ID").find("C012"), std::string::npos);
    EXPECT_NE(regQuery(Families + "Alpha4711", "TYP").find("C:\\maps\\alpha\\19218.Typ"), std::string::npos);

    const auto packageChanged = veldra("fid Topo 4801");
    ASSERT_EQ(packageChanged.status, 0) << packageChanged.output;
    EXPECT_EQ(packageChanged.output, "gmap; Topo; FID:4801;PID:1\n");
    const std::string xml = testing::readText(package / "Info.xml");
    EXPECT_NE(xml.find("<Name>Topo</Name>\r\n<ID>4801</ID>\r\n"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<ID>1</ID>"), std::string::npos) << xml;
    const auto packageTdb = inspect(package / "Product1" / "11000000.tdb");
    EXPECT_EQ(packageTdb["fid"], 4801);
    EXPECT_EQ(packageTdb["checksumOk"], true);
    EXPECT_EQ(inspect(package / "topo.typ")["fid"], 4801);
    EXPECT_EQ(mdxFids(inspect(package / "11000000.mdx")), (std::vector<int>{4801, 4801, 4801}));

    const auto list = veldra("list");
    EXPECT_EQ(list.output,
              "Veldra Alpha\tFID:4800\tPID:1\tFamilies\tAlpha4711\\1\ngmap; Topo; FID:4801;PID:1\n");
    const auto inUse = veldra("fid Topo 4800");
    EXPECT_EQ(inUse.status, 1);
    EXPECT_NE(inUse.output.find("FID already in use"), std::string::npos) << inUse.output;

    ASSERT_NO_FATAL_FAILURE(registerFamily("Beta4712", "beta", "00120000", "6812", "10418.TYP"));
    const fs::path beta = drive("maps/beta");
    // Cut short after its first record: the index file, written last, fails.
    fs::resize_file(beta / "00120000.mdx", 22);
    const auto tdbBefore = testing::readBytes(beta / "00120000.tdb");
    const auto mdxBefore = testing::readBytes(beta / "00120000.mdx");
    const auto typBefore = testing::readBytes(beta / "10418.TYP");

    const auto failed = veldra("fid 4712 4900");
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.output.find("The FID was not changed: every file and registry value is as it was before."),
              std::string::npos)
        << failed.output;
    EXPECT_NE(failed.output.find("00120000.mdx"), std::string::npos) << failed.output;
    EXPECT_EQ(testing::readBytes(beta / "00120000.tdb"), tdbBefore);
    EXPECT_EQ(testing::readBytes(beta / "00120000.mdx"), mdxBefore);
    EXPECT_EQ(testing::readBytes(beta / "10418.TYP"), typBefore);
    EXPECT_EQ(testing::namesIn(beta),
              (std::vector<std::string>{"00120000.img", "00120000.mdx", "00120000.tdb", "10418.TYP"}));
    EXPECT_NE(regQuery(Families + "Beta4712", "ID").find("6812"), std::string::npos);
    EXPECT_NE(regQuery(Families + "Beta4712", "TYP").find("C:\\maps\\beta\\10418.TYP"), std::string::npos);
    const auto after = veldra("list").output;
    EXPECT_NE(after.find("\nVeldra Beta\tFID:4712\tPID:1\tFamilies\tBeta4712\\1\n"), std::string::npos) << after;
}

}  // namespace
}  // namespace veldra
