// Registering a mapset that brings its own TDB and overview map: the key name,
// the TDB's IDs taken over and repaired, the files stamped, the registry
// values, the gmap package, and wrong fields refused before anything changes.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>

#include "existing/ExistingRegistration.h"
#include "existing/ExistingMapsetStamping.h"
#include "existing/ExistingTdbAdoption.h"
#include "gmap/GmapTestFiles.h"
#include "support/FakeHost.h"
#include "support/MapFiles.h"
#include "support/ProgressRecord.h"
#include "support/TdbTestReader.h"

namespace veldra::existing {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;

TEST(ExistingFamilyKeyNameTest, TakesTwelveCharactersOfTheHeaderTextThenTheFid) {
    EXPECT_EQ(existingFamilyKeyName("Topografie_Nord_________________________", "777"), "Topografie_N777");
    // A short series name brings the "_" of its zero byte and what follows it.
    EXPECT_EQ(existingFamilyKeyName("Alps_xyz", "5"), "Alps_xyz5");
    EXPECT_EQ(existingFamilyKeyName("Alps_Bxxxyyyzzz", "5"), "Alps_Bxxxyyy5");
    // Characters, not bytes: a letter beyond ASCII counts once.
    EXPECT_EQ(existingFamilyKeyName("Ärger_Öl_Übersicht", "12"), "Ärger_Öl_Übe12");
}

TEST(PreparedTypeFileTest, IsNamedByTheFidsLowThenHighByte) {
    EXPECT_EQ(preparedTypeFilePath("/maps/Topo.typ", 1234), fs::path("/maps/2104.Typ"));
    EXPECT_EQ(preparedTypeFilePath("/maps/Topo.typ", 777), fs::path("/maps/93.Typ"));
}

class ExistingRegistrationTest : public testing::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        for (const auto& entry : fs::directory_iterator(testing::builtData("alpha"))) copyIn(entry.path());
    }

    ExistingMapset alpha() const {
        ExistingMapset mapset;
        mapset.tdb = folder() / "11000000.tdb";
        mapset.overviewMap = folder() / "11000000.img";
        mapset.tilesFolder = folder();
        mapset.typeFile = folder() / "alpha.typ";
        mapset.indexFile = folder() / "11000000.mdx";
        return mapset;
    }

    std::optional<std::string> value(const std::string& key, const std::string& name) const {
        const auto v = host.registry.queryValue(RegistryRoot::LocalMachine, key, name);
        if (!v) return std::nullopt;
        return v->type == platform::RegistryType::Binary ? std::string(v->data.begin(), v->data.end()) : v->text();
    }

    std::string host_(const fs::path& p) const { return host.paths.toHost(p); }

    testing::FakeHost host;
    const std::string families = "SOFTWARE\\Wow6432Node\\Garmin\\Mapsource\\Families\\";
};

TEST_F(ExistingRegistrationTest, RegistryInstallationStampsEveryFileAndWritesTheFamilyKey) {
    auto mapset = alpha();
    mapset.name = "Topografie Nord";
    mapset.fid = "777";
    const auto mdxBefore = testing::readBytes(*mapset.indexFile);

    const auto registered = registerExistingMapset(host.session, mapset, ExistingInstall::Registry);
    ASSERT_TRUE(registered) << registered.failure().detail;
    EXPECT_EQ(std::tie(registered->name, registered->fid, registered->pid), std::make_tuple("Topografie_Nord", "777", "1"));

    // The key takes the header text as it was read, before the rename.
    const std::string key = families + "Veldra_Alpha777";
    EXPECT_EQ(registered->location, key);
    EXPECT_EQ(value(key, "ID"), std::string("\x09\x03", 2));
    EXPECT_EQ(value(key, "Typ"), host_(folder() / "93.Typ"));
    EXPECT_EQ(value(key, "IDX"), host_(folder() / "11000000.mdx"));
    EXPECT_EQ(value(key, "MDR"), std::nullopt);
    EXPECT_EQ(value(key + "\\1", "Loc"), host_(folder()));
    EXPECT_EQ(value(key + "\\1", "Bmap"), host_(folder() / "11000000.img"));
    EXPECT_EQ(value(key + "\\1", "TDB"), host_(folder() / "11000000.tdb"));
    EXPECT_FALSE(host.registry.inEdit());

    const auto tdb = testing::readTdbForTest(testing::readBytes(mapset.tdb));
    EXPECT_EQ(std::tie(tdb.fid, tdb.pid, tdb.seriesName), std::make_tuple(777, 1, "Topografie_Nord"));
    const auto typ = testing::readBytes(folder() / "93.Typ");
    EXPECT_EQ(testing::fidAt(typ, 47), 777);

    // Only the FID bytes of the index records change.
    const auto mdx = testing::readBytes(*mapset.indexFile);
    for (const std::size_t at : testing::differingOffsets(mdxBefore, mdx)) {
        ASSERT_GE(at, 20u);
        EXPECT_LT((at - 20) % 12, 2u) << at;
    }
    EXPECT_EQ(testing::fidAt(mdx, 20), 777);

    const auto texts = host.dialogs.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ready. Start MapSource"), texts.end());
}

TEST_F(ExistingRegistrationTest, EmptyFieldsAreFilledFromTheTdb) {
    auto mapset = alpha();
    mapset.typeFile.reset();
    const auto registered = registerExistingMapset(host.session, mapset, ExistingInstall::Registry);
    ASSERT_TRUE(registered) << registered.failure().detail;
    EXPECT_EQ(std::tie(registered->name, registered->fid), std::make_tuple("Veldra_Alpha", "4711"));
    EXPECT_EQ(value(registered->location, "Typ"), std::nullopt);
    EXPECT_EQ(value(registered->location, "ID"), std::string("\x67\x12", 2));
}

// PID 57 without FID takes the PID as FID; FID 300 without PID gets PID 1.
TEST_F(ExistingRegistrationTest, ATdbWithoutFidOrPidIsRepaired) {
    auto bytes = testing::readBytes(alpha().tdb);
    for (const auto& [ids, fid] : {std::pair{std::array<std::uint8_t, 4>{57, 0, 0, 0}, 57},
                                   {std::array<std::uint8_t, 4>{0, 0, 0x2C, 0x01}, 300}}) {
        std::copy(ids.begin(), ids.end(), bytes.begin() + 3);
        testing::writeBytes(alpha().tdb, bytes);
        const auto adopted = adoptExistingTdb(alpha().tdb);
        ASSERT_TRUE(adopted) << adopted.failure().detail;
        const auto read = testing::readTdbForTest(testing::readBytes(alpha().tdb));
        EXPECT_EQ(std::tie(adopted->fid, adopted->pid, read.fid, read.pid), std::make_tuple(fid, 1, fid, 1));
    }
}

TEST_F(ExistingRegistrationTest, WrongFieldsAreRefusedBeforeAnythingChanges) {
    const auto tdbBefore = testing::readBytes(alpha().tdb);
    const auto refusedWith = [&](ExistingMapset mapset) {
        const auto result = registerExistingMapset(host.session, mapset, ExistingInstall::Registry);
        EXPECT_FALSE(result);
        EXPECT_EQ(testing::readBytes(alpha().tdb), tdbBefore);
        EXPECT_TRUE(host.registry.subkeyNames(RegistryRoot::LocalMachine, families).empty());
        return result ? std::optional<Msg>() : result.failure().message;
    };
    const fs::path typ = *alpha().typeFile;
    const std::vector<std::pair<std::function<void(ExistingMapset&)>, Msg>> spoiled = {
        {[&](auto& m) { m.tdb = copyIn(m.tdb, "11000000.tdb2"); }, Msg::MsgExistingTdbInvalid},
        {[&](auto& m) { m.overviewMap = folder() / "11000000.mdx"; }, Msg::MsgExistingPreviewInvalid},
        {[&](auto& m) { m.typeFile = folder() / "11000000.img"; }, Msg::MsgExistingTypInvalid},
        {[&](auto& m) { m.indexFile = folder() / "gone.mdx"; }, Msg::MsgExistingFileMissing},
        {[&](auto& m) { m.fid = "12a"; }, Msg::MsgExistingIdNotNumeric},
        {[&](auto& m) { m.tdb = copyIn(typ, "fake.tdb"); }, Msg::MsgExistingTdbInvalid},
        {[&](auto& m) { m.typeFile = copyIn(m.tdb, "fake.typ"); }, Msg::MsgExistingTypInvalid},
        {[&](auto& m) { m.trafficFile = copyIn(m.tdb, "Stra\xC3\x9F" "e.trf"); }, Msg::MsgNoSpecialCharacters},
    };
    for (const auto& [spoil, message] : spoiled) {
        auto mapset = alpha();
        spoil(mapset);
        EXPECT_EQ(refusedWith(mapset), message);
    }
    EXPECT_EQ(testing::readBytes(folder() / "fake.tdb"), testing::readBytes(typ));
}

TEST_F(ExistingRegistrationTest, GmapPackageHoldsTheStampedFilesAndOneFolderPerTile) {
    auto mapset = alpha();
    mapset.name = "Carte été/2";
    mapset.fid = "4800";
    mapset.mdrFile = folder() / "11000000_mdr.img";
    testing::ProgressRecord progress;
    const auto registered =
        registerExistingMapset(host.session, mapset, ExistingInstall::GmapPackage, progress.callback());
    ASSERT_TRUE(registered) << registered.failure().detail;
    EXPECT_EQ(progress.told, testing::countsUpTo(3));  // the tiles the TDB lists

    const fs::path package = host.shell.specialFolder(0x23) / "GARMIN" / "Maps" / "Carte_été_2.gmap";
    EXPECT_EQ(registered->location, package.string());
    std::string info = testing::packageInfoXml("Carte_?t?_2", "4800", "11000000.tdb", "11000000.mdx");
    info.insert(info.find("<SubProduct>"), "<MDR>MDRMAP</MDR>\r\n<TYP>19218.Typ</TYP>\r\n");
    EXPECT_EQ(testing::readText(package / "Info.xml"), info);
    EXPECT_EQ(testing::readBytes(package / "19218.Typ"), testing::readBytes(folder() / "19218.Typ"));
    EXPECT_EQ(testing::readTdbForTest(testing::readBytes(package / "Product1" / "11000000.tdb")).fid, 4800);
    // The copies are the package's own; the registry stays untouched.
    EXPECT_TRUE(fs::exists(mapset.tdb));
    EXPECT_TRUE(host.registry.subkeyNames(RegistryRoot::LocalMachine, families).empty());

    // gmt.exe unpacks the MDR file, the overview map and every tile the TDB names.
    const auto& lines = host.processes.commandLines;
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find("-g -o " + (package / "MDRMAP").string() + " " + mapset.mdrFile->string()),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find((package / "Product1" / "mapset").string()), std::string::npos) << lines[1];
    for (int i = 1; i <= 3; ++i) {
        const std::string tile = "1100000" + std::to_string(i);
        EXPECT_NE(lines[static_cast<std::size_t>(i) + 1].find((package / "Product1" / tile).string() + " " +
                                                              (folder() / (tile + ".img")).string()),
                  std::string::npos)
            << lines[static_cast<std::size_t>(i) + 1];
        EXPECT_TRUE(fs::is_directory(package / "Product1" / tile));
    }
}

TEST_F(ExistingRegistrationTest, APackageWhoseTileIsMissingIsDeletedAgain) {
    fs::remove(folder() / "11000002.img");
    auto mapset = alpha();
    mapset.name = "Lost Tile";
    const auto registered = registerExistingMapset(host.session, mapset, ExistingInstall::GmapPackage);
    EXPECT_FALSE(registered);
    EXPECT_FALSE(fs::exists(host.shell.specialFolder(0x23) / "GARMIN" / "Maps" / "Lost_Tile.gmap"));
    const auto texts = host.dialogs.texts();
    EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                           [](const std::string& t) { return t.starts_with("Die im TDB-file verzeichneten Files"); }),
              texts.end());
}

}  // namespace
}  // namespace veldra::existing
