// `veldra check` in a prefix that Wine made for the test: a mapset installed
// by `veldra integrate`, then broken as users break them (a TDB whose
// checksum no longer fits, keys left under the branch the host programs do not
// read after the 64-bit answer changed), is repaired by `check --fix`; Wine
// reads the moved keys and a second check finds nothing.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/FileBytes.h"
#include "support/PrefixTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::shellQuote;

class CheckCommandWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        VELDRA_REQUIRE_WINE();
        ASSERT_TRUE(fs::exists(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / "11000001.img"))
            << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data`";
        ASSERT_TRUE(testing::wineboot(prefix, "-i"));
        ASSERT_EQ(veldra("settings --os64 yes").status, 0);
    }
    void TearDown() override { testing::stopWineServer(prefix); }

    testing::CommandResult veldra(const std::string& arguments) const {
        return testing::veldraOnPrefix(prefix, arguments);
    }
    testing::CommandResult wine(const std::string& command) const { return testing::runInWine(prefix, command); }

    testing::TempDir dir;
    fs::path prefix = dir.path() / "wine";
};

TEST_F(CheckCommandWineTest, RepairsAChecksumAndKeysInTheWrongBranchSoThatWineAndCheckFindThem) {
    const fs::path tiles = prefix / "drive_c" / "tiles";
    fs::create_directories(tiles);
    std::string tileArgs;
    for (const char* tile : {"11000001.img", "11000002.img"}) {
        fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / tile, tiles / tile);
        tileArgs += " " + shellQuote((tiles / tile).string());
    }
    const auto integrated = veldra("integrate --name Alps --fid 4711 --registry" + tileArgs);
    ASSERT_EQ(integrated.status, 0) << integrated.output;
    const auto clean = veldra("check");
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_NE(clean.output.find("No problems found."), std::string::npos) << clean.output;

    const auto listed = nlohmann::json::parse(testing::veldraOnPrefix(prefix, "--json list", false).output);
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

    const auto broken = testing::veldraOnPrefix(prefix, "check --json", false);
    EXPECT_EQ(broken.status, 1);
    const auto findings = nlohmann::json::parse(broken.output)["findings"];
    // The mapset is out of the host programs' view: its TDB is checked once its keys are back.
    ASSERT_EQ(findings.size(), 1u) << findings.dump(1);
    EXPECT_EQ(findings[0]["kind"], "wrong-branch");
    EXPECT_EQ(findings[0]["fid"], "4711");
    EXPECT_EQ(findings[0]["repairable"], true);

    const auto fixed = testing::veldraOnPrefix(prefix, "check --fix --json", false);
    EXPECT_EQ(fixed.status, 0) << fixed.output;
    const auto repaired = nlohmann::json::parse(fixed.output)["repaired"];
    ASSERT_EQ(repaired.size(), 2u) << repaired.dump(1);
    EXPECT_EQ(repaired[0]["kind"], "wrong-branch");
    EXPECT_EQ(repaired[1]["kind"], "tdb-checksum");
    EXPECT_EQ(testing::readBytes(tdbFile.string() + "-BAK"), bytes);
    const std::string moved = "HKLM\\SOFTWARE\\Garmin\\MapSource\\Families\\" + family;
    const auto query = wine("wine reg query " + shellQuote(moved + "\\1") + " /v TDB");
    EXPECT_EQ(query.status, 0);
    EXPECT_NE(query.output.find(hostTdb), std::string::npos) << query.output;
    EXPECT_NE(wine("wine reg query " + shellQuote("HKLM\\SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\" + family))
                  .status,
              0);
    const auto after = veldra("check");
    EXPECT_EQ(after.status, 0) << after.output;
    EXPECT_NE(after.output.find("No problems found."), std::string::npos) << after.output;
}

}  // namespace
}  // namespace veldra
