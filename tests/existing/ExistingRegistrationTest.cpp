// Registering a mapset that brings its own TDB and overview map: the key name,
// the TDB's IDs taken over and repaired, the files stamped, the registry
// values, the gmap package, and wrong fields refused before anything changes.

#include <gtest/gtest.h>

#include <string>

#include "existing/ExistingRegistration.h"
#include "existing/ExistingMapsetStamping.h"
#include "existing/ExistingTdbAdoption.h"
#include "support/FakeHost.h"
#include "support/MapFiles.h"
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
    EXPECT_EQ(registered->name, "Topografie_Nord");
    EXPECT_EQ(registered->fid, "777");
    EXPECT_EQ(registered->pid, "1");

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
    EXPECT_EQ(tdb.fid, 777);
    EXPECT_EQ(tdb.pid, 1);
    EXPECT_EQ(tdb.seriesName, "Topografie_Nord");

    const auto typ = testing::readBytes(folder() / "93.Typ");
    ASSERT_GT(typ.size(), 48u);
    EXPECT_EQ(typ[47], 0x09);
    EXPECT_EQ(typ[48], 0x03);

    // Only the FID bytes of the index records change.
    const auto mdx = testing::readBytes(*mapset.indexFile);
    for (const std::size_t at : testing::differingOffsets(mdxBefore, mdx)) {
        ASSERT_GE(at, 20u);
        EXPECT_LT((at - 20) % 12, 2u) << at;
    }
    EXPECT_EQ(mdx[20], 0x09);
    EXPECT_EQ(mdx[21], 0x03);

    const auto texts = host.dialogs.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ready. Start MapSource"), texts.end());
}

TEST_F(ExistingRegistrationTest, EmptyFieldsAreFilledFromTheTdb) {
    auto mapset = alpha();
    mapset.typeFile.reset();
    const auto registered = registerExistingMapset(host.session, mapset, ExistingInstall::Registry);
    ASSERT_TRUE(registered) << registered.failure().detail;
    EXPECT_EQ(registered->name, "Veldra_Alpha");
    EXPECT_EQ(registered->fid, "4711");
    EXPECT_EQ(value(registered->location, "Typ"), std::nullopt);
    EXPECT_EQ(value(registered->location, "ID"), std::string("\x67\x12", 2));
}

TEST_F(ExistingRegistrationTest, ATdbWithoutFidOrPidIsRepaired) {
    auto bytes = testing::readBytes(alpha().tdb);
    bytes[3] = 57, bytes[4] = 0, bytes[5] = 0, bytes[6] = 0;  // PID 57, FID 0
    testing::writeBytes(alpha().tdb, bytes);
    auto adopted = adoptExistingTdb(alpha().tdb);
    ASSERT_TRUE(adopted) << adopted.failure().detail;
    EXPECT_EQ(adopted->fid, 57);
    EXPECT_EQ(adopted->pid, 1);
    auto read = testing::readTdbForTest(testing::readBytes(alpha().tdb));
    EXPECT_EQ(read.fid, 57);
    EXPECT_EQ(read.pid, 1);

    bytes[3] = 0, bytes[5] = 0x2C, bytes[6] = 0x01;  // PID 0, FID 300
    testing::writeBytes(alpha().tdb, bytes);
    adopted = adoptExistingTdb(alpha().tdb);
    ASSERT_TRUE(adopted);
    EXPECT_EQ(adopted->fid, 300);
    EXPECT_EQ(adopted->pid, 1);
    read = testing::readTdbForTest(testing::readBytes(alpha().tdb));
    EXPECT_EQ(read.fid, 300);
    EXPECT_EQ(read.pid, 1);
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
    auto wrongTdb = alpha();
    wrongTdb.tdb = copyIn(alpha().tdb, "11000000.tdb2");
    EXPECT_EQ(refusedWith(wrongTdb), Msg::MsgExistingTdbInvalid);
    auto wrongPreview = alpha();
    wrongPreview.overviewMap = folder() / "11000000.mdx";
    EXPECT_EQ(refusedWith(wrongPreview), Msg::MsgExistingPreviewInvalid);
    auto wrongTyp = alpha();
    wrongTyp.typeFile = folder() / "11000000.img";
    EXPECT_EQ(refusedWith(wrongTyp), Msg::MsgExistingTypInvalid);
    auto missingIndex = alpha();
    missingIndex.indexFile = folder() / "gone.mdx";
    EXPECT_EQ(refusedWith(missingIndex), Msg::MsgExistingFileMissing);
    auto textFid = alpha();
    textFid.fid = "12a";
    EXPECT_EQ(refusedWith(textFid), Msg::MsgExistingIdNotNumeric);
    auto typAsTdb = alpha();
    typAsTdb.tdb = copyIn(*alpha().typeFile, "fake.tdb");
    EXPECT_EQ(refusedWith(typAsTdb), Msg::MsgExistingTdbInvalid);
    EXPECT_EQ(testing::readBytes(typAsTdb.tdb), testing::readBytes(*alpha().typeFile));
    auto tdbAsTyp = alpha();
    tdbAsTyp.typeFile = copyIn(alpha().tdb, "fake.typ");
    EXPECT_EQ(refusedWith(tdbAsTyp), Msg::MsgExistingTypInvalid);
    auto accented = alpha();
    accented.trafficFile = copyIn(alpha().tdb, "Stra\xC3\x9F" "e.trf");
    EXPECT_EQ(refusedWith(accented), Msg::MsgNoSpecialCharacters);
}

TEST_F(ExistingRegistrationTest, GmapPackageHoldsTheStampedFilesAndOneFolderPerTile) {
    auto mapset = alpha();
    mapset.name = "Carte été/2";
    mapset.fid = "4800";
    mapset.mdrFile = folder() / "11000000_mdr.img";
    const auto registered = registerExistingMapset(host.session, mapset, ExistingInstall::GmapPackage);
    ASSERT_TRUE(registered) << registered.failure().detail;

    const fs::path package = host.shell.specialFolder(0x23) / "GARMIN" / "Maps" / "Carte_été_2.gmap";
    EXPECT_EQ(registered->location, package.string());
    const std::string info = testing::readText(package / "Info.xml");
    EXPECT_NE(info.find("<Name>Carte_?t?_2</Name>\r\n<DataVersion>"), std::string::npos) << info;
    EXPECT_NE(info.find("<ID>4800</ID>\r\n<IDX>11000000.mdx</IDX>\r\n<MDR>MDRMAP</MDR>\r\n<TYP>19218.Typ</TYP>\r\n"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("<TDB>11000000.tdb</TDB>\r\n<Directory>Product1</Directory>"), std::string::npos) << info;
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
