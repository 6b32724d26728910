#include "registration/RegistryRecordReading.h"

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::RecordKind;
using registration::RegistryRecord;
using registration::readRegistryRecords;

class RegistryRecordReadingTest : public testing::CatalogTest {
protected:
    std::vector<std::string> shownNames(const std::vector<RegistryRecord>& records) const {
        std::vector<std::string> names;
        for (const auto& r : records) names.push_back(r.shownName());
        return names;
    }
};

TEST_F(RegistryRecordReadingTest, FamilyRecordCarriesHeaderFactsAndRegistryValues) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Veldra_A4711", files);
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Families) + "Veldra_A4711", "TYP",
                                           "  Z:\\maps\\10318.TYP  ").ok());

    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    const RegistryRecord& r = records[0];
    EXPECT_EQ(r.shownName(), "Veldra Alpha");
    // Forty characters of the header after its first nine, past the series name's zero byte.
    EXPECT_EQ(r.name.size(), 40u);
    EXPECT_EQ(r.name.substr(0, 15), std::string("Veldra Alpha\0d\0", 15));
    EXPECT_EQ(r.fid, "4711");
    EXPECT_EQ(r.pid, "1");
    EXPECT_EQ(r.kind, RecordKind::Families);
    EXPECT_EQ(r.subkey, "Veldra_A4711\\1");
    EXPECT_EQ(r.parentKey, "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Veldra_A4711\\");
    EXPECT_EQ(r.tdb, files.tdb);
    EXPECT_EQ(r.overview, files.overview);
    EXPECT_EQ(r.loc, files.loc);
    EXPECT_EQ(r.typ, "Z:\\maps\\10318.TYP");
}

TEST_F(RegistryRecordReadingTest, PathsLoseTrailingBlanksAndAMissingTypeFileIsMarked) {
    auto files = installAlpha("alpha");
    files.loc += "   ";
    registerFamily(RecordKind::Families, "A", files);
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].loc.back(), '\\');
    EXPECT_EQ(records[0].typ, "keinTypefile");
}

TEST_F(RegistryRecordReadingTest, MissingFilesGiveMarkedRecords) {
    const auto noTdb = installAlpha("a");
    const auto noOverview = installAlpha("b");
    fs::remove(native(noTdb.tdb));
    fs::remove(native(noOverview.overview));
    registerFamily(RecordKind::Families, "NoTdb", noTdb);
    registerFamily(RecordKind::Families, "NoOverview", noOverview);

    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "!! TDB-File fehlt !!");
    EXPECT_EQ(records[0].subkey, "NoTdb\\1");
    EXPECT_EQ(records[1].name, "!! Uebersicht fehlt !!");
    EXPECT_EQ(records[1].subkey, "NoOverview\\1");
    for (const auto& r : records) {
        EXPECT_EQ(r.fid, "Fehler");
        EXPECT_EQ(r.pid, "fehler");
    }
}

TEST_F(RegistryRecordReadingTest, FoldersAreNoFiles) {
    auto noTdb = installAlpha("a");
    auto noOverview = installAlpha("b");
    noTdb.tdb = noTdb.loc;
    noOverview.overview = noOverview.loc;
    registerFamily(RecordKind::Families, "NoTdb", noTdb);
    registerFamily(RecordKind::Families, "NoOverview", noOverview);
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "!! TDB-File fehlt !!");
    EXPECT_EQ(records[1].name, "!! Uebersicht fehlt !!");
}

TEST_F(RegistryRecordReadingTest, ZeroFidTakesThePidAndLongNamesAreCut) {
    registerFamily(RecordKind::Families, "Seven", installAlpha("seven", {}, 0, 7));
    const std::string longName = "A name of fifty characters, which is far too long";
    registerFamily(RecordKind::Families, "Long", installAlpha("long", longName));
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, longName.substr(0, 40));
    EXPECT_EQ(records[1].fid, "7");
    EXPECT_EQ(records[1].pid, "7");
}

TEST_F(RegistryRecordReadingTest, RecordsAreSortedByNameWithTheirFieldsKeptTogether) {
    // Enumerated as Products (b), Families (a), FamiliesNT (c).
    registerProduct("12", installAlpha("b", "b", 12));
    registerFamily(RecordKind::Families, "FamA", installAlpha("a", "a", 11));
    registerFamily(RecordKind::FamiliesNT, "FamC", installAlpha("c", "c", 13));
    const auto records = readRegistryRecords(fake.session);
    EXPECT_EQ(shownNames(records), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(records[0].fid, "11");
    EXPECT_EQ(records[0].kind, RecordKind::Families);
    EXPECT_EQ(records[0].subkey, "FamA\\1");
    EXPECT_EQ(records[1].fid, "12");
    EXPECT_EQ(records[1].kind, RecordKind::Products);
    EXPECT_EQ(records[1].subkey, "12");
    EXPECT_EQ(records[1].parentKey, key(RecordKind::Products));
    EXPECT_EQ(records[2].kind, RecordKind::FamiliesNT);
    EXPECT_TRUE(records[2].tdb.ends_with("\\c\\11000000.tdb")) << records[2].tdb;
}

TEST_F(RegistryRecordReadingTest, EqualNamesKeepTheEnumerationOrder) {
    registerFamily(RecordKind::FamiliesNT, "Z", installAlpha("nt"));
    registerFamily(RecordKind::Families, "Z", installAlpha("fam"));
    registerProduct("5", installAlpha("prod"));
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, RecordKind::Products);
    EXPECT_EQ(records[1].kind, RecordKind::Families);
    EXPECT_EQ(records[2].kind, RecordKind::FamiliesNT);
}

TEST_F(RegistryRecordReadingTest, ProductsTakeTheTypeFileOfTheProductsKeyItself) {
    registerProduct("33", installAlpha("p"));
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Products), "Typ", "Z:\\shared.typ").ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Products) + "33", "Typ", "Z:\\own.typ").ok());
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].typ, "Z:\\shared.typ");
}

TEST_F(RegistryRecordReadingTest, EveryProductSubkeyOfAFamilyIsARecord) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Two", files, "1");
    registerFamily(RecordKind::Families, "Two", installAlpha("other", {}, 4711, 2), "2");
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].subkey, "Two\\1");
    EXPECT_EQ(records[1].subkey, "Two\\2");
    EXPECT_EQ(records[1].pid, "2");
}

TEST_F(RegistryRecordReadingTest, MisplacedLayoutIsRepairedOnYes) {
    const auto files = installAlpha("alpha");
    const std::string family = key(RecordKind::Families) + "Moved";
    EXPECT_TRUE(fake.session.routines.storeString(Machine, family, "TDB", files.tdb + "  ").ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, family, "Bmap", files.overview).ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, family, "Loc", files.loc).ok());
    fake.dialogs.answer({app::MessageAnswer::Yes});

    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              "missing key SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Moved\\1. VELDRA can repair this. "
              "Shell it do?");
    EXPECT_EQ(fake.dialogs.messages[0].buttons, app::MessageButtons::YesNo);
    EXPECT_EQ(fake.dialogs.messages[0].title, "VELDRA");
    EXPECT_EQ(value(family + "\\1", "TDB"), files.tdb);
    EXPECT_EQ(value(family + "\\1", "BMAP"), files.overview);
    EXPECT_EQ(value(family + "\\1", "LOC"), files.loc);
    EXPECT_EQ(fake.registry.valueNames(Machine, family), std::vector<std::string>{});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].shownName(), "Veldra Alpha");
    EXPECT_EQ(records[0].subkey, "Moved\\1");

    // Read again, the family is in order and asks nothing.
    EXPECT_EQ(readRegistryRecords(fake.session).size(), 1u);
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);
}

TEST_F(RegistryRecordReadingTest, MisplacedLayoutLeftAloneOnNo) {
    const auto files = installAlpha("alpha");
    for (RecordKind kind : {RecordKind::Families, RecordKind::FamiliesNT}) {
        EXPECT_TRUE(fake.session.routines.storeString(Machine, key(kind) + "Moved", "TDB", files.tdb).ok());
        EXPECT_TRUE(fake.session.routines.storeString(Machine, key(kind) + "Moved", "Bmap", files.overview).ok());
        EXPECT_TRUE(fake.session.routines.storeString(Machine, key(kind) + "Moved", "Loc", files.loc).ok());
    }
    fake.dialogs.answer({app::MessageAnswer::No, app::MessageAnswer::No});
    EXPECT_TRUE(readRegistryRecords(fake.session).empty());
    // Families reports the keys it leaves broken; FamiliesNT does not.
    ASSERT_EQ(fake.dialogs.messages.size(), 3u);
    EXPECT_EQ(fake.dialogs.messages[1].text,
              " Missing registrykeys. Repair the registry and start again.");
    EXPECT_EQ(fake.dialogs.messages[1].icon, app::MessageIcon::Critical);
    EXPECT_NE(fake.dialogs.messages[2].text.find("FamiliesNT\\Moved\\1."), std::string::npos);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Moved\\1"));
}

TEST_F(RegistryRecordReadingTest, FamilyWithoutAllThreeValuesIsNoMisplacedLayout) {
    const auto files = installAlpha("alpha");
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Families) + "Half", "TDB", files.tdb).ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Families) + "Half", "Bmap", "   ").ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Families) + "Half", "Loc", files.loc).ok());
    EXPECT_TRUE(readRegistryRecords(fake.session).empty());
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(RegistryRecordReadingTest, FamilyInBothBranchesGivesTwoRecords) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Both", files);
    registerFamily(RecordKind::FamiliesNT, "Both", files);
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, RecordKind::Families);
    EXPECT_EQ(records[1].kind, RecordKind::FamiliesNT);
    EXPECT_EQ(records[1].parentKey, key(RecordKind::FamiliesNT) + "Both\\");
}

TEST_F(RegistryRecordReadingTest, KeysWithoutFullAccessAreSkippedSilently) {
    registerFamily(RecordKind::Families, "Locked", installAlpha("a"));
    registerProduct("9", installAlpha("b"));
    fake.registry.denyWriteAccess(Machine, key(RecordKind::Families) + "Locked");
    fake.registry.denyWriteAccess(Machine, key(RecordKind::Products));
    EXPECT_TRUE(readRegistryRecords(fake.session).empty());
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

}  // namespace
}  // namespace veldra
