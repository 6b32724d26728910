// `veldra check` and `veldra fid` in a prefix that Wine made for the test.
// A mapset installed by `veldra integrate`, then broken as users break them (a
// TDB whose checksum no longer fits, keys left under the branch the host
// programs do not read after the 64-bit answer changed), is repaired by
// `check --fix`; Wine reads the moved keys and a second check finds nothing.
// A family registered with `wine reg add` and a gmap package take a new FID in
// every file, Wine reads the new values back, and a change that fails midway
// leaves every file and value as it was.

#include <gtest/gtest.h>

#include <tuple>

#include <nlohmann/json.hpp>

#include "support/MapFiles.h"
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

    static fs::path data(const std::string& folder) { return testing::builtData(folder); }
    fs::path drive(const std::string& relative) const { return prefix / "drive_c" / relative; }
    // Exit code and output of `veldra` (with its messages unless `withMessages` is false),
    // once Wine's server has saved the registry.
    testing::CommandResult veldra(const std::string& arguments, bool withMessages = true) const {
        return testing::veldraOnPrefix(prefix, arguments, withMessages);
    }
    testing::CommandResult wine(const std::string& command) const { return testing::runInWine(prefix, command); }
    std::string regQuery(const std::string& key, const std::string& name) const {
        return wine("wine reg query " + shellQuote(key) + " /v " + name).output;
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
    static std::vector<int> mdxFids(const nlohmann::json& seen) {
        std::vector<int> fids;
        for (const auto& record : seen.at("records")) fids.push_back(record.at("fid"));
        return fids;
    }

    testing::TempDir home;
    fs::path prefix = home.path() / "wine";
};

// One test: Wine takes long to make a prefix.
TEST_F(FidCommandWineTest, CheckRepairsWhatUsersBreakAndTheFidChangesEverywhereOrNowhere) {
    const fs::path tiles = drive("tiles");
    fs::create_directories(tiles);
    std::string tileArgs;
    for (const char* tile : {"11000001.img", "11000002.img"}) {
        fs::copy_file(data("alpha") / tile, tiles / tile);
        tileArgs += " " + shellQuote((tiles / tile).string());
    }
    const auto integrated = veldra("integrate --name Alps --fid 4711 --registry" + tileArgs);
    ASSERT_EQ(integrated.status, 0) << integrated.output;
    const auto clean = veldra("check");
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_NE(clean.output.find("No problems found."), std::string::npos) << clean.output;

    const auto listed = nlohmann::json::parse(veldra("--json list", false).output);
    ASSERT_EQ(listed.size(), 1u) << listed.dump();
    const std::string subkey = listed[0]["subkey"];
    const std::string family = subkey.substr(0, subkey.find('\\'));
    const std::string hostTdb = listed[0]["tdb"];
    const fs::path tdbFile = testing::nativeByWine(prefix, hostTdb);
    auto bytes = testing::readBytes(tdbFile);
    ASSERT_GT(bytes.size(), 40u);
    // The trailer block (3 + 20 bytes) ends the file; its first checksum byte lies 5 bytes in.
    bytes[bytes.size() - 23 + 5] ^= 0x5A;
    testing::writeBytes(tdbFile, bytes);
    ASSERT_EQ(veldra("settings --os64 no").status, 0);

    const auto broken = veldra("check --json", false);
    EXPECT_EQ(broken.status, 1);
    const auto findings = nlohmann::json::parse(broken.output)["findings"];
    // The mapset is out of the host programs' view: its TDB is checked once its keys are back.
    ASSERT_EQ(findings.size(), 1u) << findings.dump(1);
    EXPECT_EQ(std::make_tuple(findings[0]["kind"], findings[0]["fid"], findings[0]["repairable"]),
              std::make_tuple("wrong-branch", "4711", true));

    const auto fixed = veldra("check --fix --json", false);
    EXPECT_EQ(fixed.status, 0) << fixed.output;
    const auto repaired = nlohmann::json::parse(fixed.output)["repaired"];
    ASSERT_EQ(repaired.size(), 2u) << repaired.dump(1);
    EXPECT_EQ(std::make_tuple(repaired[0]["kind"], repaired[1]["kind"]), std::make_tuple("wrong-branch", "tdb-checksum"));
    EXPECT_EQ(testing::readBytes(tdbFile.string() + "-BAK"), bytes);
    const std::string moved = "HKLM\\SOFTWARE\\Garmin\\MapSource\\Families\\" + family;
    const auto query = wine("wine reg query " + shellQuote(moved + "\\1") + " /v TDB");
    EXPECT_EQ(query.status, 0);
    EXPECT_NE(query.output.find(hostTdb), std::string::npos) << query.output;
    EXPECT_NE(wine("wine reg query " + shellQuote(Families + family)).status, 0);
    const auto rechecked = veldra("check");
    EXPECT_EQ(rechecked.status, 0) << rechecked.output;
    EXPECT_NE(rechecked.output.find("No problems found."), std::string::npos) << rechecked.output;
    ASSERT_EQ(veldra("--yes remove Alps").status, 0);
    ASSERT_EQ(veldra("settings --os64 yes").status, 0);

    ASSERT_NO_FATAL_FAILURE(registerFamily("Alpha4711", "alpha", "11000000", "6712", "10318.TYP"));
    const fs::path package = installPackage();
    const fs::path alpha = drive("maps/alpha");

    // 4800 = 0x12C0: low byte 0xC0 (192), high byte 0x12 (18).
    const auto changed = veldra("fid 4711 4800");
    ASSERT_EQ(changed.status, 0) << changed.output;
    EXPECT_EQ(changed.output, "Veldra Alpha\tFID:4800\tPID:1\tFamilies\tAlpha4711\\1\n");
    EXPECT_EQ(testing::fidAt(testing::readBytes(alpha / "11000000.tdb"), 5), 4800);
    const auto tdb = inspect(alpha / "11000000.tdb");
    EXPECT_EQ(std::make_tuple(tdb["fid"], tdb["checksumOk"]), std::make_tuple(4800, true));
    EXPECT_EQ(testing::fidAt(testing::readBytes(alpha / "19218.Typ"), 47), 4800);
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
    EXPECT_EQ(std::make_tuple(packageTdb["fid"], packageTdb["checksumOk"]), std::make_tuple(4801, true));
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
