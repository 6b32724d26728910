#include "registration/RegistryRecordReading.h"

#include <map>
#include <tuple>

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::readRegistryRecords;
using registration::RecordKind;
using registration::RegistryRecord;

class RegistryRecordReadingTest : public testing::CatalogTest {};

TEST_F(RegistryRecordReadingTest, FamilyRecordCarriesHeaderFactsAndTrimmedRegistryValues) {
    auto files = installAlpha("alpha");
    const std::string loc = files.loc;
    files.loc += "   ";
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
    EXPECT_EQ(std::tie(r.fid, r.pid, r.kind, r.subkey),
              std::make_tuple("4711", "1", RecordKind::Families, "Veldra_A4711\\1"));
    EXPECT_EQ(r.parentKey, "SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Veldra_A4711\\");
    EXPECT_EQ(std::tie(r.tdb, r.overview, r.loc, r.typ),
              std::make_tuple(files.tdb, files.overview, loc, "Z:\\maps\\10318.TYP"));
}

TEST_F(RegistryRecordReadingTest, MissingFilesOrFoldersInTheirPlaceGiveMarkedRecords) {
    const std::map<std::string, std::string> expected = {{"NoTdb\\1", "!! TDB-File fehlt !!"},
                                                         {"TdbFolder\\1", "!! TDB-File fehlt !!"},
                                                         {"NoOverview\\1", "!! Uebersicht fehlt !!"},
                                                         {"OverviewFolder\\1", "!! Uebersicht fehlt !!"}};
    for (const auto& [subkey, marker] : expected) {
        const std::string family = subkey.substr(0, subkey.size() - 2);
        auto files = installAlpha(family);
        std::string& broken = marker.find("TDB") != std::string::npos ? files.tdb : files.overview;
        if (family.starts_with("No")) fs::remove(native(broken));
        else broken = files.loc;
        registerFamily(RecordKind::Families, family, files);
    }
    std::map<std::string, std::string> names;
    for (const auto& r : readRegistryRecords(fake.session)) {
        names[r.subkey] = r.name;
        EXPECT_EQ(r.fid, "Fehler");
        EXPECT_EQ(r.pid, "fehler");
    }
    EXPECT_EQ(names, expected);
}

TEST_F(RegistryRecordReadingTest, ZeroFidTakesThePid) {
    registerFamily(RecordKind::Families, "Seven", installAlpha("seven", {}, 0, 7));
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fid + " " + records[0].pid, "7 7");
}

// Enumerated as Products, Families, FamiliesNT; sorted by the bytes of the name, equal names in that order.
TEST_F(RegistryRecordReadingTest, EveryProductOfEveryBranchIsARecordSortedByName) {
    registerProduct("12", installAlpha("b", "B", 12));
    registerFamily(RecordKind::Families, "FamA", installAlpha("a", "A", 11));
    registerFamily(RecordKind::Families, "Two", installAlpha("c1", "C"), "1");
    registerFamily(RecordKind::Families, "Two", installAlpha("c2", "C", 4711, 2), "2");
    registerFamily(RecordKind::FamiliesNT, "Z", installAlpha("znt"));
    registerFamily(RecordKind::Families, "Z", installAlpha("z"));
    registerProduct("5", installAlpha("z5"));

    const auto records = readRegistryRecords(fake.session);
    std::vector<std::string> seen;
    for (const auto& r : records) seen.push_back(r.shownName() + " " + r.fid + " " + r.pid + " " + r.subkey);
    EXPECT_EQ(seen, (std::vector<std::string>{"A 11 1 FamA\\1", "B 12 1 12", "C 4711 1 Two\\1", "C 4711 2 Two\\2",
                                              "Veldra Alpha 4711 1 5", "Veldra Alpha 4711 1 Z\\1",
                                              "Veldra Alpha 4711 1 Z\\1"}));
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[1].parentKey, key(RecordKind::Products));
    EXPECT_EQ(records[5].kind, RecordKind::Families);
    EXPECT_EQ(records[6].kind, RecordKind::FamiliesNT);
    EXPECT_EQ(records[6].parentKey, key(RecordKind::FamiliesNT) + "Z\\");
    EXPECT_TRUE(records[6].tdb.ends_with("\\znt\\11000000.tdb")) << records[6].tdb;
}

// FamiliesNT is read under every family name seen so far, in the spelling
// first seen; names that differ only in case are one name.
TEST_F(RegistryRecordReadingTest, AFamilyNameInAnyCaseIsReadOncePerBranch) {
    registerFamily(RecordKind::Families, "Case", installAlpha("f"));
    registerFamily(RecordKind::FamiliesNT, "CASE", installAlpha("nt"));
    const auto records = readRegistryRecords(fake.session);
    std::vector<std::string> seen;
    for (const auto& r : records) seen.push_back(std::string(kindName(r.kind)) + " " + r.subkey);
    EXPECT_EQ(seen, (std::vector<std::string>{"Families Case\\1", "FamiliesNT Case\\1"}));
}

TEST_F(RegistryRecordReadingTest, ProductsTakeTheTypeFileOfTheProductsKeyItself) {
    registerProduct("33", installAlpha("p"));
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Products), "Typ", "Z:\\shared.typ").ok());
    EXPECT_TRUE(fake.session.routines.storeString(Machine, key(RecordKind::Products) + "33", "Typ", "Z:\\own.typ").ok());
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].typ, "Z:\\shared.typ");
}

TEST_F(RegistryRecordReadingTest, MisplacedLayoutIsRepairedOnYes) {
    auto files = installAlpha("alpha");
    files.tdb += "  ";
    const std::string family = key(RecordKind::Families) + "Moved";
    storePaths(family, files);
    fake.dialogs.answer({app::MessageAnswer::Yes});

    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              "missing key SOFTWARE\\Wow6432Node\\Garmin\\MapSource\\Families\\Moved\\1. VELDRA can repair this. "
              "Shell it do?");
    EXPECT_EQ(fake.dialogs.messages[0].buttons, app::MessageButtons::YesNo);
    EXPECT_EQ(std::make_tuple(value(family + "\\1", "TDB"), value(family + "\\1", "BMAP"), value(family + "\\1", "LOC")),
              std::make_tuple(files.tdb.substr(0, files.tdb.size() - 2), files.overview, files.loc));
    EXPECT_EQ(fake.registry.valueNames(Machine, family), std::vector<std::string>{});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].shownName(), "Veldra Alpha");
    // Listed under the family's name until the registry is read again.
    EXPECT_EQ(records[0].subkey, "Moved");

    // Read again, the family is in order and asks nothing.
    const auto again = readRegistryRecords(fake.session);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].subkey, "Moved\\1");
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);
}

TEST_F(RegistryRecordReadingTest, MisplacedLayoutLeftAloneOnNoAndNeverAskedWithoutAllThreeValues) {
    const auto files = installAlpha("alpha");
    for (RecordKind kind : {RecordKind::Families, RecordKind::FamiliesNT}) storePaths(key(kind) + "Moved", files);
    storePaths(key(RecordKind::Families) + "Half", {files.tdb, "   ", files.loc});
    fake.dialogs.answer({app::MessageAnswer::No, app::MessageAnswer::No});
    EXPECT_TRUE(readRegistryRecords(fake.session).empty());
    // Families reports the keys it leaves broken; FamiliesNT does not.
    ASSERT_EQ(fake.dialogs.messages.size(), 3u);
    EXPECT_EQ(fake.dialogs.messages[1].text, " Missing registrykeys. Repair the registry and start again.");
    EXPECT_EQ(fake.dialogs.messages[1].icon, app::MessageIcon::Critical);
    EXPECT_NE(fake.dialogs.messages[2].text.find("FamiliesNT\\Moved\\1."), std::string::npos);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Moved\\1"));
}

TEST_F(RegistryRecordReadingTest, KeysWithoutFullAccessAreSkippedSilently) {
    registerFamily(RecordKind::Families, "Locked", installAlpha("a"));
    registerProduct("9", installAlpha("b"));
    fake.registry.denyWriteAccess(Machine, key(RecordKind::Families) + "Locked");
    fake.registry.denyWriteAccess(Machine, key(RecordKind::Products));
    EXPECT_TRUE(readRegistryRecords(fake.session).empty());
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

// The family key lists its first product, then refuses the rest: the product
// read is a record, and the message names the key and the last name read.
TEST_F(RegistryRecordReadingTest, ARefusedEnumerationKeepsWhatItReadAndSaysWhere) {
    registerFamily(RecordKind::Families, "Part", installAlpha("a"), "1");
    registerFamily(RecordKind::Families, "Part", installAlpha("b", {}, 4711, 2), "2");
    const std::string family = key(RecordKind::Families) + "Part\\";
    fake.registry.refuseEnumeration(Machine, family, 1);
    const auto records = readRegistryRecords(fake.session);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].subkey, "Part\\1");
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, fake.session.msg(app::Msg::MsgTdbValueMissing) + family + "1");
    EXPECT_EQ(fake.dialogs.messages[0].title, "VELDRA");
}

}  // namespace
}  // namespace veldra
