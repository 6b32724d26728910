// The FID changer's pieces: what it accepts as a new FID, what counts as in
// use, its Info.xml edits, the file backups that undo a change, and the bytes
// and values a change writes for both kinds of mapset.

#include "registration/FidChange.h"

#include "formats/TdbChecksum.h"
#include "registration/FidChangeTestSupport.h"
#include "registration/InfoXmlFid.h"
#include "registration/NewFid.h"
#include "support/TdbTestReader.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::parseNewFid;
using Bytes = std::vector<std::uint8_t>;
using Offsets = std::vector<std::size_t>;

Failure refusal(std::string_view typed) {
    const auto fid = parseNewFid(typed);
    EXPECT_FALSE(fid.ok()) << typed;
    return fid.ok() ? Failure{} : fid.failure();
}

TEST(NewFidTest, TheWholePartOfANumberUpTo60000IsTaken) {
    EXPECT_EQ(*parseNewFid("4800"), 4800);
    EXPECT_EQ(*parseNewFid(" 12.7 "), 12);
    EXPECT_EQ(*parseNewFid("1"), 1);
    EXPECT_EQ(*parseNewFid("60000"), 60000);
    EXPECT_EQ(*parseNewFid("+60000.0"), 60000);

    for (const char* tooBig : {"60000.5", "60001", "65536", "99999999999"})
        EXPECT_EQ(refusal(tooBig), fail(registration::FidTooBig)) << tooBig;
    for (const char* notPositive : {"0", "0.9", "-3", "-0"})
        EXPECT_EQ(refusal(notPositive), fail(Msg::MsgFidNotPositive)) << notPositive;
    for (const char* noNumber : {"", "  ", "abc", "12a", "1.2.3", "0x10", ".", "4 800"})
        EXPECT_EQ(refusal(noNumber), fail(registration::FidNotANumber)) << noNumber;
}

TEST(NewFidTest, AFidIsInUseByARecordsTdbOrIdValueOrByAPackage) {
    registration::InstalledCatalog catalog;
    catalog.registry.resize(2);
    catalog.registry[0].fid = "4711";
    catalog.registry[1].fid = registration::FidErrorMarker;
    catalog.registry[1].registeredFid = 300;
    catalog.packages.records.resize(1);
    catalog.packages.records[0].fid = "12";

    for (const std::uint16_t used : std::initializer_list<std::uint16_t>{4711, 300, 12}) EXPECT_TRUE(registration::fidInUse(catalog, used)) << used;
    for (const std::uint16_t free : std::initializer_list<std::uint16_t>{4712, 1, 120, 0}) EXPECT_FALSE(registration::fidInUse(catalog, free)) << free;
}

TEST(InfoXmlFidTest, OnlyTheFirstMatchingIdChangesAndALineBreakIsAppended) {
    const std::string xml = "<P>\r\n<ID>1</ID>\r\n<ID>12</ID>\r\n<S><ID>12</ID></S>";
    EXPECT_EQ(registration::replaceFirstFamilyId(xml, "12", "4800"),
              "<P>\r\n<ID>1</ID>\r\n<ID>4800</ID>\r\n<S><ID>12</ID></S>\r\n");
    EXPECT_EQ(registration::replaceFirstFamilyId(xml, "7", "4800"), xml + "\r\n");
}

TEST(InfoXmlFidTest, TheTypeFileIsNamedByTheFirstTypElementPastTheFifthCharacter) {
    using Named = std::optional<std::string>;
    EXPECT_EQ(*registration::typeFileNamedIn("<P>\r\n<TYP>typ\\a.typ</TYP><TYP>b</TYP>"), Named("typ\\a.typ"));
    EXPECT_EQ(*registration::typeFileNamedIn("<P1> <TYP>a.typ</TYP>"), Named("a.typ"));  // "<TYP>" at character 6
    EXPECT_EQ(*registration::typeFileNamedIn("<P1><TYP>a.typ</TYP>"), Named());          // at character 5
    EXPECT_EQ(*registration::typeFileNamedIn("<P>\r\n<ID>1</ID>"), Named());
    EXPECT_FALSE(registration::typeFileNamedIn("<P>\r\n<TYP>a.typ").ok());
}

class FileBackupsTest : public testing::ScratchFolder {};

TEST_F(FileBackupsTest, EveryKeptFileGoesBackAndANewOneIsRemoved) {
    const fs::path changed = writeFile("a.tdb", {1, 2, 3});
    const fs::path created = folder() / "new.typ";
    registration::FileBackups backups;
    EXPECT_TRUE(backups.empty());
    ASSERT_TRUE(backups.keep(changed).ok());
    ASSERT_TRUE(backups.keep(created).ok());
    EXPECT_FALSE(backups.empty());
    testing::writeBytes(changed, {9, 9});
    ASSERT_TRUE(backups.keep(changed).ok()) << "a file is kept as it was the first time it is named";
    testing::writeBytes(created, {7});

    EXPECT_TRUE(backups.restoreAll().ok());
    EXPECT_EQ(testing::readBytes(changed), (Bytes{1, 2, 3}));
    EXPECT_FALSE(fs::exists(created));
    EXPECT_EQ(testing::namesIn(folder()), std::vector<std::string>{"a.tdb"});
}

TEST_F(FileBackupsTest, AFileThatCannotBePutBackIsNamedAndTheOthersStillGoBack) {
    fs::create_directories(folder() / "gone");
    const fs::path vanishing = writeFile("gone/a.mdx", {1});
    const fs::path other = writeFile("b.tdb", {2});
    registration::FileBackups backups;
    ASSERT_TRUE(backups.keep(other).ok());
    ASSERT_TRUE(backups.keep(vanishing).ok());
    testing::writeBytes(other, {3});
    fs::remove_all(folder() / "gone");

    const auto restored = backups.restoreAll();
    ASSERT_FALSE(restored.ok());
    EXPECT_NE(restored.failure().detail.find("a.mdx"), std::string::npos) << restored.failure().detail;
    EXPECT_EQ(testing::readBytes(other), Bytes{2});
}

class FidChangeFilesTest : public testing::FidChangeTest {
protected:
    registration::InstalledCatalog catalog() {
        registration::InstalledCatalog c;
        c.rebuild(fake.session);
        return c;
    }
    static std::pair<int, int> typStamp(const fs::path& typ) {
        const auto bytes = testing::readBytes(typ);
        return {bytes.at(47), bytes.at(48)};
    }
    // The TDB differs in its FID bytes and checksum bytes only, and its checksum is right.
    static void expectTdbFid(const Bytes& before, const fs::path& tdb, std::uint16_t fid) {
        const auto after = testing::readBytes(tdb);
        EXPECT_EQ(testing::readTdbForTest(after).fid, fid);
        EXPECT_EQ(formats::checksumMatches(after), std::optional<bool>(true));
        const auto trailer = formats::findTrailerBlock(before);
        ASSERT_TRUE(trailer);
        for (const auto offset : testing::differingOffsets(before, after))
            EXPECT_TRUE(offset == 5 || offset == 6 || offset > *trailer) << offset;
        EXPECT_EQ(after.size(), before.size());
    }
};

TEST_F(FidChangeFilesTest, RegistryMapsetGetsTheFidInTdbTypeFileCopyValuesAndEveryIndexRecord) {
    const auto files = registerAlpha();
    const fs::path folder = native(files.loc);
    const auto tdbBefore = testing::readBytes(folder / "11000000.tdb");
    const auto mdxBefore = testing::readBytes(folder / "11000000.mdx");
    const auto typBefore = testing::readBytes(folder / "10318.TYP");
    registration::FileBackups backups;

    // 1234 = 0x04D2: the copy is named for the bytes 210 and 4.
    ASSERT_TRUE(registration::changeRegistryMapsetFid(fake.session, catalog().registry.at(0), 1234, backups).ok());
    expectTdbFid(tdbBefore, folder / "11000000.tdb", 1234);
    EXPECT_EQ(typStamp(folder / "2104.Typ"), std::make_pair(0xD2, 0x04));
    EXPECT_EQ(testing::differingOffsets(typBefore, testing::readBytes(folder / "2104.Typ")), (Offsets{47, 48}));
    EXPECT_EQ(testing::readBytes(folder / "10318.TYP"), typBefore) << "the old type file stays";
    const auto mdx = testing::readBytes(folder / "11000000.mdx");
    EXPECT_EQ(testing::differingOffsets(mdxBefore, mdx), (Offsets{20, 21, 32, 33, 44, 45}));
    EXPECT_EQ(mdx.at(44), 0xD2);
    EXPECT_EQ(mdx.at(45), 0x04);
    EXPECT_EQ(value(alphaKey(), "TYP"), files.loc + "2104.Typ");
    EXPECT_EQ(registryBytes(alphaKey(), "ID"), (Bytes{0xD2, 0x04}));
    EXPECT_TRUE(fake.dialogs.texts().empty());

    EXPECT_TRUE(backups.restoreAll().ok());
    EXPECT_EQ(testing::readBytes(folder / "11000000.tdb"), tdbBefore);
    EXPECT_EQ(testing::readBytes(folder / "11000000.mdx"), mdxBefore);
    EXPECT_FALSE(fs::exists(folder / "2104.Typ"));
}

TEST_F(FidChangeFilesTest, RegistryMapsetWithoutTdbIsReportedAndNothingIsTouched) {
    const auto files = registerAlpha();
    fs::remove(native(files.tdb));
    const auto before = testing::filesBelow(native(files.loc));
    registration::FileBackups backups;

    const auto changed = registration::changeRegistryMapsetFid(fake.session, catalog().registry.at(0), 1234, backups);
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::string>{app::MsgMapDoesNotExist});
    EXPECT_TRUE(backups.empty());
    EXPECT_EQ(testing::filesBelow(native(files.loc)), before);
    EXPECT_EQ(registryBytes(alphaKey(), "ID"), (Bytes{0x67, 0x12}));
}

TEST_F(FidChangeFilesTest, PackageGetsTheFidInTdbIndexTypeFileAndTheFirstIdOfBothDescriptions) {
    const fs::path package = installIndexedPackage("Topo", "4711");
    std::string v2 = testing::readText(package / "Info.xml");
    v2.insert(v2.find("<SubProduct>"), "<ID>4711</ID>\r\n");
    testing::writeText(package / "Info_v2.xml", v2);
    const auto tdbBefore = testing::readBytes(package / "Product1" / "11000000.tdb");
    const auto mdxBefore = testing::readBytes(package / "11000000.mdx");
    const std::string xmlBefore = testing::readText(package / "Info.xml");
    registration::FileBackups backups;

    ASSERT_TRUE(registration::changeGmapPackageFid(fake.session, catalog().packages.records.at(0), 1234, backups).ok());
    expectTdbFid(tdbBefore, package / "Product1" / "11000000.tdb", 1234);
    EXPECT_EQ(testing::differingOffsets(mdxBefore, testing::readBytes(package / "11000000.mdx")),
              (Offsets{20, 21, 32, 33, 44, 45}));
    EXPECT_EQ(typStamp(package / "typ" / "alpha.typ"), std::make_pair(0xD2, 0x04));
    std::string xml = xmlBefore;
    xml.replace(xml.find("<ID>4711</ID>"), 13, "<ID>1234</ID>");
    EXPECT_EQ(testing::readText(package / "Info.xml"), xml + "\r\n");
    std::string v2After = v2;
    v2After.replace(v2After.find("<ID>4711</ID>"), 13, "<ID>1234</ID>");
    EXPECT_EQ(testing::readText(package / "Info_v2.xml"), v2After + "\r\n");
    EXPECT_NE(v2After.find("<ID>4711</ID>"), std::string::npos) << "only the first ID element changes";
    EXPECT_EQ(catalog().packages.records.at(0).display(), "gmap; Topo; FID:1234;PID:1");
}

TEST_F(FidChangeFilesTest, PackageFilesThatAreNotThereAreSkipped) {
    const fs::path package = installPackage("Topo", "4711", "<IDX>11000000.mdx</IDX>\r\n<TYP>alpha.typ</TYP>\r\n");
    fs::remove(package / "Product1" / "11000000.tdb");
    registration::FileBackups backups;

    ASSERT_TRUE(registration::changeGmapPackageFid(fake.session, catalog().packages.records.at(0), 4800, backups).ok());
    EXPECT_NE(testing::readText(package / "Info.xml").find("<ID>4800</ID>"), std::string::npos);
    EXPECT_EQ(testing::namesIn(package), (std::vector<std::string>{"Info.xml", "Product1"}));
    EXPECT_TRUE(fs::is_empty(package / "Product1"));
}

TEST_F(FidChangeFilesTest, APackageTypeFileOutsideThePackageIsRefusedBeforeAnyWrite) {
    const fs::path outside = fake.temp.path() / "outside.typ";
    fs::copy_file(testing::builtData("alpha/alpha.typ"), outside);
    const fs::path package = installPackage("Topo", "4711", "<TYP>../../../../outside.typ</TYP>\r\n");
    const auto before = testing::filesBelow(package);
    registration::FileBackups backups;

    EXPECT_FALSE(registration::changeGmapPackageFid(fake.session, catalog().packages.records.at(0), 4800, backups).ok());
    EXPECT_TRUE(backups.empty());
    EXPECT_EQ(testing::filesBelow(package), before);
    EXPECT_EQ(testing::readBytes(outside), testing::readBytes(testing::builtData("alpha/alpha.typ")));
}

}  // namespace
}  // namespace veldra
