#include "registration/MapsetRemoval.h"

#include <unistd.h>

#include "registration/CatalogTestSupport.h"
#include "support/StatusOutcome.h"
#include "support/RecordingProcesses.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using app::MessageAnswer;
using testing::Outcome;
using testing::outcomeOf;
using registration::RecordKind;

class MapsetRemovalTest : public testing::CatalogTest {
protected:
    void SetUp() override {
        CatalogTest::SetUp();
        fs::create_directories(fake.session.host.programFolder / "BIN");
        testing::writeCp1252(fake.session.host.programFolder / "BIN" / "SetACL.exe", "");
    }
    // The catalog as the removal mode shows it.
    registration::InstalledCatalog shown() {
        registration::InstalledCatalog catalog;
        registration::showMapsetsForRemoval(fake.session, processes, catalog);
        return catalog;
    }
    testing::RecordingProcesses processes;
    Outcome removeRecord(registration::InstalledCatalog& catalog, std::size_t index, MessageAnswer answer) {
        fake.dialogs.answer({answer});
        return outcomeOf(registration::removeRegistryMapset(fake.session, catalog, catalog.registry.at(index)));
    }
};

TEST_F(MapsetRemovalTest, OnlyProductOfAFamilyTakesTheFamilyKeyAndTheFilesButNotTheTiles) {
    const auto files = installAlpha("alpha");
    fs::copy_file(testing::builtData("alpha/11000001.img"), native(files.loc) / "11000001.img");
    registerFamily(RecordKind::Families, "Alpha4711", files);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 1u);

    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    const auto& question = fake.dialogs.messages.at(0);
    EXPECT_EQ(question.text, "Are you sure to remove mapset ?");
    EXPECT_EQ(question.buttons, app::MessageButtons::OkCancel);
    EXPECT_EQ(question.title, "VELDRA");
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Alpha4711"));
    EXPECT_FALSE(fs::exists(native(files.tdb)));
    EXPECT_FALSE(fs::exists(native(files.overview)));
    EXPECT_TRUE(fs::exists(native(files.loc) / "11000001.img"));
    EXPECT_TRUE(catalog.registry.empty());
}

TEST_F(MapsetRemovalTest, FamilyKeyStaysWhileOtherProductsRemain) {
    registerFamily(RecordKind::Families, "Pair", installAlpha("one", "One"), "1");
    registerFamily(RecordKind::Families, "Pair", installAlpha("two", "Two", 4711, 2), "2");
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.at(0).shownName(), "One");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Pair\\1"));
    EXPECT_TRUE(keyExists(key(RecordKind::Families) + "Pair\\2"));
    ASSERT_EQ(catalog.registry.size(), 1u);
    EXPECT_EQ(catalog.registry[0].shownName(), "Two");
}

TEST_F(MapsetRemovalTest, FamiliesNTKeyGoesWithItsLastProduct) {
    registerFamily(RecordKind::FamiliesNT, "Solo", installAlpha("solo", "Solo"));
    registerFamily(RecordKind::FamiliesNT, "Pair", installAlpha("one", "One"), "1");
    registerFamily(RecordKind::FamiliesNT, "Pair", installAlpha("two", "Two", 4711, 2), "2");
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 3u);
    ASSERT_EQ(catalog.registry[1].shownName(), "Solo");
    EXPECT_EQ(removeRecord(catalog, 1, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::FamiliesNT) + "Solo"));
    ASSERT_EQ(catalog.registry[0].shownName(), "One");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    // One subkey is left: the family key is tried and refused by the registry.
    EXPECT_TRUE(keyExists(key(RecordKind::FamiliesNT) + "Pair\\2"));
}

TEST_F(MapsetRemovalTest, ProductsEntryLosesOnlyItsProductKey) {
    const auto files = installAlpha("prod");
    registerProduct("77", files);
    registerFamily(RecordKind::Families, "Other", installAlpha("other", "Other"));
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.at(1).kind, RecordKind::Products);
    EXPECT_EQ(removeRecord(catalog, 1, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Products) + "77"));
    EXPECT_TRUE(keyExists(key(RecordKind::Products)));
    EXPECT_FALSE(fs::exists(native(files.tdb)));
    ASSERT_EQ(catalog.registry.size(), 1u);
    EXPECT_EQ(catalog.registry[0].shownName(), "Other");
}

TEST_F(MapsetRemovalTest, CancelLeavesEverything) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Alpha4711", files);
    auto catalog = shown();
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Cancel), Outcome::Declined);
    EXPECT_TRUE(keyExists(key(RecordKind::Families) + "Alpha4711\\1"));
    EXPECT_TRUE(fs::exists(native(files.tdb)));
    EXPECT_EQ(catalog.registry.size(), 1u);
}

TEST_F(MapsetRemovalTest, MarkedRecordIsRemovedTheSameWay) {
    const auto files = installAlpha("alpha");
    fs::remove(native(files.tdb));
    registerFamily(RecordKind::Families, "Broken", files);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.at(0).name, "!! TDB-File fehlt !!");
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Broken"));
    EXPECT_FALSE(fs::exists(native(files.overview)));
}

TEST_F(MapsetRemovalTest, FoldersNamedAsTdbOrOverviewStay) {
    auto files = installAlpha("alpha");
    const fs::path empty = native(files.loc) / "empty";
    fs::create_directories(empty / "inner");
    files.tdb = host(empty / "inner");
    files.overview = host(empty);
    registerFamily(RecordKind::Families, "Odd", files);
    auto catalog = shown();
    ASSERT_EQ(catalog.registry.size(), 1u);
    EXPECT_EQ(removeRecord(catalog, 0, MessageAnswer::Ok), Outcome::Done);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Odd"));
    EXPECT_TRUE(fs::is_directory(empty / "inner"));
}

TEST_F(MapsetRemovalTest, EnteringTheModeTakesOverTheRegistryKeyAndReportsDuplicateFids) {
    registerFamily(RecordKind::Families, "A", installAlpha("a", "A"));
    registerFamily(RecordKind::Families, "B", installAlpha("b", "B"));
    shown();
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::string>{"FID 4711 ist doppelt."});
    ASSERT_EQ(processes.commandLines.size(), 2u);
    EXPECT_NE(processes.commandLines[0].find(" -on HKLM\\SOFTWARE\\Wow6432Node\\Garmin -ot reg -actn setowner"),
              std::string::npos)
        << processes.commandLines[0];
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

TEST_F(MapsetRemovalTest, PackageFolderGoesOnYes) {
    const fs::path package = installPackage("Topo", "1234");
    installPackage("Other", "1235");
    auto catalog = shown();
    ASSERT_EQ(catalog.packages.records.size(), 2u);
    ASSERT_EQ(catalog.packages.records[1].name, "Topo");

    fake.dialogs.answer({MessageAnswer::No});
    EXPECT_EQ(outcomeOf(registration::removeGmapPackage(fake.session, catalog, catalog.packages.records[1])), Outcome::Declined);
    EXPECT_TRUE(fs::exists(package));
    EXPECT_EQ(fake.dialogs.messages.back().buttons, app::MessageButtons::YesNo);

    fake.dialogs.answer({MessageAnswer::Yes});
    EXPECT_EQ(outcomeOf(registration::removeGmapPackage(fake.session, catalog, catalog.packages.records[1])), Outcome::Done);
    EXPECT_FALSE(fs::exists(package));
    ASSERT_EQ(catalog.packages.records.size(), 1u);
    EXPECT_EQ(catalog.packages.records[0].name, "Other");
}

TEST_F(MapsetRemovalTest, ReadOnlyFileStopsThePackageRemoval) {
    const fs::path package = installPackage("Topo", "1234");
    testing::writeCp1252(package / "zz-readonly.txt", "keep");
    fs::permissions(package / "zz-readonly.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    auto catalog = shown();
    fake.dialogs.answer({MessageAnswer::Yes});
    EXPECT_EQ(outcomeOf(registration::removeGmapPackage(fake.session, catalog, catalog.packages.records.at(0))), Outcome::Failed);
    EXPECT_EQ(fake.dialogs.messages.back().text, "Permission denied");
    EXPECT_TRUE(fs::exists(package / "zz-readonly.txt"));
    EXPECT_FALSE(fs::exists(package / "Info.xml"));
    EXPECT_TRUE(catalog.packages.records.empty());
    fs::permissions(package / "zz-readonly.txt", fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace veldra
