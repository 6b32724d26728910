// `veldra register`: mkgmap's alpha mapset, with its own TDB and overview map,
// installed as it stands.

#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/IntegrateCommandFixture.h"
#include "support/FileBytes.h"

namespace veldra {
namespace {

class RegisterCommandTest : public IntegrateCommandTest {
protected:
    void SetUp() override {
        IntegrateCommandTest::SetUp();
        for (const char* file : {"11000000.tdb", "11000000.img", "11000000.mdx", "11000000_mdr.img", "alpha.typ"})
            fs::copy_file(fs::path(VELDRA_BUILT_DATA_DIR) / "alpha" / file, tiles / file);
    }
    std::string files() const {
        return "--tdb " + (tiles / "11000000.tdb").string() + " --overview " + (tiles / "11000000.img").string() +
               " --mdx " + (tiles / "11000000.mdx").string() + " --typ " + (tiles / "alpha.typ").string();
    }
};

TEST_F(RegisterCommandTest, WrongInputIsRefusedBeforeAnythingIsWritten) {
    const fs::path prefix = home.path() / "veldra" / "prefix";
    const auto systemBefore = testing::readBytes(prefix / "system.reg");
    const auto tdbBefore = testing::readBytes(tiles / "11000000.tdb");
    fs::copy_file(tiles / "alpha.typ", tiles / "fake.tdb");

    auto notTdb = veldra("register --tdb " + (tiles / "fake.tdb").string() + " --overview " +
                         (tiles / "11000000.img").string());
    EXPECT_EQ(notTdb.status, 1);
    EXPECT_NE(notTdb.output.find("tdb-file is not valide"), std::string::npos) << notTdb.output;
    EXPECT_EQ(testing::readBytes(tiles / "fake.tdb"), testing::readBytes(tiles / "alpha.typ"));

    auto noOverview = veldra("register --tdb " + (tiles / "11000000.tdb").string() + " --overview " +
                             (tiles / "gone.img").string());
    EXPECT_EQ(noOverview.status, 1);
    EXPECT_NE(noOverview.output.find("the file, you have typed in, is not existing."), std::string::npos)
        << noOverview.output;

    auto wrongFid = veldra("register --fid 12x " + files());
    EXPECT_EQ(wrongFid.status, 1);
    EXPECT_NE(wrongFid.output.find("wrong id number,ID must bee numeric"), std::string::npos) << wrongFid.output;

    EXPECT_EQ(testing::readBytes(tiles / "11000000.tdb"), tdbBefore);
    EXPECT_EQ(testing::readBytes(prefix / "system.reg"), systemBefore);

    // An FID that an installed mapset uses is refused, the TDB's own included.
    ASSERT_EQ(veldra("integrate --name Alps --fid 4711 --registry " + tileArgs()).status, 0);
    auto inUse = veldra("register " + files());
    EXPECT_EQ(inUse.status, 1);
    EXPECT_NE(inUse.output.find("ID-Nr. exists already."), std::string::npos) << inUse.output;
    EXPECT_EQ(testing::readBytes(tiles / "11000000.tdb"), tdbBefore);

    // A TDB that a registration points at is not taken over by a second one.
    ASSERT_EQ(veldra("register --fid 4800 " + files()).status, 0);
    const auto registeredTdb = testing::readBytes(tiles / "11000000.tdb");
    auto twice = veldra("register --fid 4801 " + files());
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.output.find("belongs to an installed mapset already"), std::string::npos) << twice.output;
    EXPECT_NE(twice.output.find("FID 4800"), std::string::npos) << twice.output;
    EXPECT_EQ(testing::readBytes(tiles / "11000000.tdb"), registeredTdb);
}

TEST_F(RegisterCommandTest, GmapInstallationMakesAPackageTheListShows) {
    auto run = veldra("register --gmap --name 'Alpha Paket' --fid 4800 " + files());
    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path package = home.path() / "veldra/prefix/drive_c/ProgramData/GARMIN/Maps/Alpha_Paket.gmap";
    EXPECT_TRUE(fs::is_regular_file(package / "Product1" / "11000000.tdb"));
    EXPECT_TRUE(fs::is_regular_file(package / "19218.Typ"));
    EXPECT_FALSE(fs::is_empty(package / "Product1" / "11000003"));
    const auto list = nlohmann::json::parse(veldra("--json list").output);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(std::make_tuple(list[0]["kind"], list[0]["name"], list[0]["fid"]),
              std::make_tuple("gmap", "Alpha_Paket", 4800));
}

}  // namespace
}  // namespace veldra
