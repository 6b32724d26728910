#include "registration/MapsetRemoval.h"

#include <unistd.h>

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using app::MessageAnswer;
using registration::RecordKind;
using testing::Outcome;
using testing::outcomeOf;

class MapsetRemovalTest : public testing::CatalogTest {
protected:
    void SetUp() override {
        CatalogTest::SetUp();
        testing::writeCp1252(fake.session.host.programFolder / "BIN" / "SetACL.exe", "");
    }
    // The catalog as the removal mode shows it.
    registration::InstalledCatalog shown() {
        registration::InstalledCatalog catalog;
        registration::showMapsetsForRemoval(fake.session, fake.processes, catalog);
        return catalog;
    }
    Outcome removeRecord(registration::InstalledCatalog& catalog, std::size_t index, MessageAnswer answer) {
        fake.dialogs.answer({answer});
        return outcomeOf(registration::removeRegistryMapset(fake.session, catalog, catalog.registry.at(index)));
    }
    Outcome removePackage(registration::InstalledCatalog& catalog, std::size_t index, MessageAnswer answer) {
        fake.dialogs.answer({answer});
        return outcomeOf(registration::removeGmapPackage(fake.session, catalog, catalog.packages.records.at(index)));
    }
};

TEST_F(MapsetRemovalTest, OnlyProductOfAFamilyTakesTheFamilyKeyAndTheFilesButNotTheTilesOnOk) {
    const auto files = installAlpha("alpha");
    fs::copy_file(testing::builtData("alpha/11000001.img"), native(files.loc) / "11000001.img");
    registerFamily(RecordKind::Families, "Alpha4711", files);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 1u);
    const std::string named = catalog.registry[0].shownName() + " (FID " + catalog.registry[0].fid + ")";

    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Cancel), Outcome::Declined);
    EXPECT_TRUE(keyExists(key(RecordKind::Families) + "Alpha4711\\1"));
    EXPECT_TRUE(fs::exists(native(files.tdb)));
    EXPECT_EQ(catalog.registry.size(), 1u);

    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    const auto& question = fake.dialogs.messages.at(1);
    EXPECT_EQ(question.text, "Are you sure to remove mapset ? " + named);
    EXPECT_EQ(question.buttons, app::MessageButtons::OkCancel);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Alpha4711"));
    EXPECT_FALSE(fs::exists(native(files.tdb)));
    EXPECT_FALSE(fs::exists(native(files.overview)));
    EXPECT_TRUE(fs::exists(native(files.loc) / "11000001.img"));
    EXPECT_TRUE(catalog.registry.empty());
}

// A family repaired while the catalog is read is removed whole right away.
TEST_F(MapsetRemovalTest, AFamilyRepairedOnTheWayIsRemovedWhole) {
    const auto files = installAlpha("alpha");
    storePaths(key(RecordKind::Families) + "Moved", files);
    fake.dialogs.answer({MessageAnswer::Yes});
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 1u);
    ASSERT_EQ(catalog.registry[0].subkey, "Moved");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Moved"));
    EXPECT_FALSE(fs::exists(native(files.tdb)));
    EXPECT_TRUE(catalog.registry.empty());
}

TEST_F(MapsetRemovalTest, EachKindLosesOnlyItsOwnKeys) {
    registerFamily(RecordKind::Families, "Pair", installAlpha("one", "One"), "1");
    registerFamily(RecordKind::Families, "Pair", installAlpha("two", "Two", 4711, 2), "2");
    registerFamily(RecordKind::FamiliesNT, "Solo", installAlpha("solo", "Solo"));
    const auto product = installAlpha("prod", "Product");
    registerProduct("77", product);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 4u);

    ASSERT_EQ(catalog.registry[0].shownName(), "One");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Pair\\1"));
    EXPECT_TRUE(keyExists(key(RecordKind::Families) + "Pair\\2"));

    ASSERT_EQ(catalog.registry[0].kind, RecordKind::Products);
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Products) + "77"));
    EXPECT_TRUE(keyExists(key(RecordKind::Products)));
    EXPECT_FALSE(fs::exists(native(product.tdb)));

    ASSERT_EQ(catalog.registry[0].shownName(), "Solo");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::FamiliesNT) + "Solo"));
    ASSERT_EQ(catalog.registry.size(), 1u);
    EXPECT_EQ(catalog.registry[0].shownName(), "Two");
}

TEST_F(MapsetRemovalTest, MarkedRecordsGoTheSameWayButFoldersNamedAsTheirFilesStay) {
    const auto broken = installAlpha("broken");
    fs::remove(native(broken.tdb));
    registerFamily(RecordKind::Families, "Broken", broken);
    auto odd = installAlpha("odd");
    const fs::path empty = native(odd.loc) / "empty";
    fs::create_directories(empty / "inner");
    odd.tdb = host(empty / "inner");
    odd.overview = host(empty);
    registerFamily(RecordKind::Families, "Odd", odd);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 2u);
    ASSERT_EQ(catalog.registry[0].name, "!! TDB-File fehlt !!");

    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    // Without its TDB the record is named by its key and the FID it is registered under.
    EXPECT_EQ(fake.dialogs.texts().back(), "Are you sure to remove mapset ? !! TDB-File fehlt !! Broken\\1 (FID 4711)");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Broken"));
    EXPECT_FALSE(fs::exists(native(broken.overview)));
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Odd"));
    EXPECT_TRUE(fs::is_directory(empty / "inner"));
}

TEST_F(MapsetRemovalTest, EnteringTheModeTakesOverTheRegistryKeyAndReportsDuplicateFids) {
    registerFamily(RecordKind::Families, "A", installAlpha("a", "A"));
    registerFamily(RecordKind::Families, "B", installAlpha("b", "B"));
    shown();
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::string>{"FID 4711 ist doppelt."});
    ASSERT_EQ(fake.processes.commandLines.size(), 2u);
    EXPECT_NE(fake.processes.commandLines[0].find(" -on HKLM\\SOFTWARE\\Wow6432Node\\Garmin -ot reg -actn setowner"),
              std::string::npos)
        << fake.processes.commandLines[0];
}

TEST_F(MapsetRemovalTest, RefusedFileDeletionIsReportedAfterTheKeysAreGone) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may delete in a read-only folder";
    const auto files = installAlpha("locked");
    registerFamily(RecordKind::Families, "Locked", files);
    auto catalog = shown();
    fs::permissions(native(files.loc), fs::perms::owner_write, fs::perm_options::remove);
    const Outcome outcome = removeRecord(catalog, 0, MessageAnswer::Ok);
    fs::permissions(native(files.loc), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(outcome, Outcome::Failed);
    EXPECT_EQ(fake.dialogs.messages.back().text, "Zugriff verweigert, close MapSource first");
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Locked"));
    EXPECT_TRUE(fs::exists(native(files.tdb)));
}

TEST_F(MapsetRemovalTest, PackageFolderGoesOnYesAndAReadOnlyFileStopsIt) {
    const fs::path topo = installPackage("Topo", "1234");
    const fs::path stuck = installPackage("Stuck", "1235");
    testing::writeCp1252(stuck / "zz-readonly.txt", "keep");
    fs::permissions(stuck / "zz-readonly.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    auto catalog = shown();
    ASSERT_EQ(catalog.packages.records.at(1).name, "Topo");

    EXPECT_EQ(removePackage(catalog, 1, MessageAnswer::No), Outcome::Declined);
    EXPECT_TRUE(fs::exists(topo));
    EXPECT_EQ(fake.dialogs.messages.back().buttons, app::MessageButtons::YesNo);
    EXPECT_EQ(removePackage(catalog, 1, MessageAnswer::Yes), Outcome::Done);
    EXPECT_FALSE(fs::exists(topo));
    ASSERT_EQ(catalog.packages.records.size(), 1u);

    EXPECT_EQ(removePackage(catalog, 0, MessageAnswer::Yes), Outcome::Failed);
    EXPECT_EQ(fake.dialogs.messages.back().text, "Permission denied");
    EXPECT_TRUE(fs::exists(stuck / "zz-readonly.txt"));
    EXPECT_FALSE(fs::exists(stuck / "Info.xml"));
    EXPECT_TRUE(catalog.packages.records.empty());
    fs::permissions(stuck / "zz-readonly.txt", fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace veldra
