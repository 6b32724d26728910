#include "registration/PackageTypeFile.h"
#include "registration/RegistryRecordReading.h"
#include "registration/RegistryTypeFile.h"
#include "registration/TypeFileNames.h"

#include "formats/TdbChecksum.h"
#include "platform/RegistryPath.h"
#include "registration/CatalogTestSupport.h"
#include "registration/InstalledCatalog.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using app::MessageAnswer;
using registration::RecordKind;
using testing::Outcome;
using testing::outcomeOf;
using Texts = std::vector<std::string>;
const std::string Changed = "Typfile was changed. Start 'Mapsource' again.";

// Host paths found whatever the case of their letters, as on the host.
class CaseBlindHostPaths : public testing::FakeHostPaths {
public:
    fs::path toNative(std::string_view host) const override {
        const fs::path spelled = FakeHostPaths::toNative(host);
        if (spelled.empty()) return spelled;
        fs::path found = spelled.root_path();
        for (const auto& part : spelled.relative_path()) {
            fs::path next = found / part;
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(found, ec))
                if (platform::equalsIgnoreCase(entry.path().filename().string(), part.string())) next = entry.path();
            found = next;
        }
        return found;
    }
};

class TypeFileTest : public testing::CatalogTest {
protected:
    void SetUp() override {
        CatalogTest::SetUp();
        session.start();
    }
    testing::MapsetFiles alphaFamily() {
        const auto files = installAlpha("alpha");
        registerFamily(RecordKind::Families, "Alpha4711", files);
        return files;
    }
    registration::RegistryRecord onlyRecord() {
        auto records = registration::readRegistryRecords(session);
        EXPECT_EQ(records.size(), 1u);
        return records.at(0);
    }
    // As the task runs it: the superseded type file goes once the change is stored.
    Outcome change(const std::optional<fs::path>& typ) {
        std::vector<fs::path> superseded;
        const Outcome outcome = outcomeOf(registration::changeRegistryTypeFile(session, onlyRecord(), typ, superseded));
        for (const fs::path& file : superseded) fs::remove(file);
        return outcome;
    }
    Outcome change(const gmap::GmapRecord& package, const std::optional<fs::path>& typ) {
        return outcomeOf(registration::changePackageTypeFile(session, package, typ));
    }
    gmap::GmapRecord onlyPackage() {
        registration::InstalledCatalog catalog;
        catalog.rebuild(session);
        return catalog.packages.records.at(0);
    }
    std::vector<std::uint8_t> idValue(const std::string& family) const {
        return fake.registry.queryValue(Machine, family, "ID").value_or(platform::RegistryValue{}).data;
    }
    static int stamp(const fs::path& typ) { return testing::fidAt(testing::readBytes(typ), 0x2F); }

    const fs::path typSource = testing::builtData("alpha/alpha.typ");
    const std::string familyKey = key(RecordKind::Families) + "Alpha4711";
    CaseBlindHostPaths paths;
    app::Session session{app::Host{fake.registry, paths, fake.shell, fake.security, fake.processes, {}}, fake.dialogs};
};

TEST_F(TypeFileTest, RegistryTypeFileIsNamedAfterTheFidBytesAndStampedAndAFolderIsNoOldTypeFile) {
    const auto files = alphaFamily();
    const auto tdbBefore = testing::readBytes(native(files.tdb));
    fs::create_directories(native(files.loc) / "typ");
    EXPECT_TRUE(fake.session.routines.storeString(Machine, familyKey, "TYP", files.loc + "typ").ok());

    EXPECT_EQ(change(typSource), Outcome::Done);
    const fs::path typ = native(files.loc) / "10318.TYP";
    EXPECT_EQ(stamp(typ), 4711);
    EXPECT_EQ(testing::readBytes(typ), testing::readBytes(typSource)) << "alpha.typ carries FID 4711 already";
    EXPECT_TRUE(fs::is_directory(native(files.loc) / "typ"));
    EXPECT_EQ(value(familyKey, "TYP"), files.loc + "10318.TYP");
    EXPECT_EQ(idValue(familyKey), (std::vector<std::uint8_t>{0x67, 0x12}));
    EXPECT_EQ(testing::readBytes(native(files.tdb)), tdbBefore);
    EXPECT_EQ(fake.dialogs.texts(), Texts{Changed});
    EXPECT_EQ(onlyRecord().typ, files.loc + "10318.TYP");
}

TEST_F(TypeFileTest, HighFidIsStampedLowByteFirstInBothKinds) {
    const auto files = installAlpha("big", {}, 40000);
    registerFamily(RecordKind::Families, "Big", files);
    EXPECT_EQ(change(typSource), Outcome::Done);
    EXPECT_EQ(stamp(native(files.loc) / "64156.TYP"), 40000);
    const fs::path package = installPackage("Topo", "40000");
    EXPECT_EQ(change(onlyPackage(), typSource), Outcome::Done);
    EXPECT_EQ(stamp(package / "40000.Typ"), 40000);
}

TEST_F(TypeFileTest, ReplacingKeepsTheOldTypeFileAsBakButRefusesTheAttachedFileItself) {
    const auto files = alphaFamily();
    ASSERT_EQ(change(typSource), Outcome::Done);
    const fs::path newer = fake.temp.path() / "newer.typ";
    auto bytes = testing::readBytes(typSource);
    bytes.back() ^= 0xFF;
    testing::writeBytes(newer, bytes);

    EXPECT_EQ(change(newer), Outcome::Done);
    const fs::path typ = native(files.loc) / "10318.TYP";
    EXPECT_EQ(testing::readBytes(typ.string() + ".bak"), testing::readBytes(typSource));
    EXPECT_EQ(testing::readBytes(typ), bytes);
    EXPECT_EQ(fake.dialogs.texts().at(1), "old typfile is saved/renamed as " + files.loc + "10318.TYP.bak");

    EXPECT_EQ(change(typ), Outcome::Failed);
    EXPECT_EQ(fake.dialogs.messages.back().text.substr(0, 31), "the new Typfile is stored in sa");
    EXPECT_EQ(testing::readBytes(typ), bytes);
    EXPECT_EQ(testing::readBytes(typ.string() + ".bak"), testing::readBytes(typSource));
}

TEST_F(TypeFileTest, ProductsEntryBecomesAFamilyAndAZeroFidTakesTheProductNumber) {
    const auto files = installAlpha("prod", {}, 0, 7);
    registerProduct("7", files);
    EXPECT_EQ(change(typSource), Outcome::Done);

    const auto tdb = testing::readBytes(native(files.tdb));
    EXPECT_EQ(std::vector<std::uint8_t>(tdb.begin() + 3, tdb.begin() + 7), (std::vector<std::uint8_t>{1, 0, 7, 0}));
    EXPECT_EQ(formats::checksumMatches(tdb), std::optional<bool>(true));
    const std::string family = key(RecordKind::Families) + "7";
    EXPECT_EQ(idValue(family), (std::vector<std::uint8_t>{7, 0}));
    EXPECT_EQ(value(family, "TYP"), files.loc + "70.TYP");
    EXPECT_EQ(stamp(native(files.loc) / "70.TYP"), 7);
    EXPECT_EQ(value(family + "\\1", "TDB") + value(family + "\\1", "Bmap") + value(family + "\\1", "Loc"),
              files.tdb + files.overview + files.loc);
    EXPECT_FALSE(keyExists(key(RecordKind::Products) + "7"));
    const auto record = onlyRecord();
    EXPECT_EQ(record.kind, RecordKind::Families);
    EXPECT_EQ(record.subkey + " " + record.fid + " " + record.pid, "7\\1 7 1");
}

TEST_F(TypeFileTest, DetachingAsksKeepsTheFileAsBakAndDeletesTyp) {
    const auto files = alphaFamily();
    ASSERT_EQ(change(typSource), Outcome::Done);
    fake.dialogs.answer({MessageAnswer::No});
    EXPECT_EQ(change(std::nullopt), Outcome::Declined);
    EXPECT_EQ(value(familyKey, "TYP"), files.loc + "10318.TYP");

    // Any other extension counts as no type file chosen.
    fake.dialogs.answer({MessageAnswer::Yes});
    EXPECT_EQ(change(fake.temp.path() / "notes.txt"), Outcome::Done);
    EXPECT_EQ(fake.dialogs.messages.at(2).text,
              "No typfile selected. Existing typfile will not longer used with the mapset. Continue ?");
    EXPECT_EQ(fake.dialogs.messages.back().text, "Typfile was deleted.");
    EXPECT_EQ(value(familyKey, "TYP"), "<missing>");
    EXPECT_FALSE(fs::exists(native(files.loc) / "10318.TYP"));
    EXPECT_EQ(testing::readBytes(native(files.loc) / "10318.typ.bak"), testing::readBytes(typSource));
    EXPECT_EQ(onlyRecord().typ, "keinTypefile");
}

TEST(TypeFileNames, TypeFilesAreKnownByTheirExtensionInAnyCase) {
    for (const char* typ : {"/maps/ALPS.TYP", "/maps/alps.Typ"}) EXPECT_TRUE(registration::isTypeFile(fs::path(typ)));
    EXPECT_FALSE(registration::isTypeFile(fs::path("/maps/alps.typ.bak")));
    EXPECT_FALSE(registration::isTypeFile(std::nullopt));
    EXPECT_EQ(registration::registryTypeFileName(255), "2550.TYP");
}

TEST_F(TypeFileTest, PackageTypeFileIsCopiedStampedAndNamedInBothDescriptions) {
    const fs::path package = installPackage("Topo", "1234");
    testing::writeCp1252(package / "Info_v2.xml", "<Files>\r\n<File id=\"TDB\">x</File>\r\n</Files>");
    const auto record = onlyPackage();

    EXPECT_EQ(change(record, typSource), Outcome::Done);
    EXPECT_EQ(stamp(package / "1234.Typ"), 1234);
    std::string expected = testing::packageInfoXml("Topo", "1234", "11000000.tdb");
    expected.insert(expected.find("<SubProduct>"), "<TYP>1234.Typ</TYP>\n");
    EXPECT_EQ(testing::readText(package / "Info.xml"), expected + "\r\n");
    EXPECT_EQ(testing::readText(package / "Info_v2.xml"),
              "<Files>\n<File id=\"TYP\">1234.Typ</File>\n\r\n<File id=\"TDB\">x</File>\r\n</Files>\r\n");
    EXPECT_EQ(fake.dialogs.texts(), Texts{Changed});

    // The copy itself cannot be chosen again.
    EXPECT_EQ(change(record, package / "1234.Typ"), Outcome::Failed);
    EXPECT_EQ(fake.dialogs.messages.back().text, "Das ausgewählte File ist am Zielort schon vorhaden");
    EXPECT_EQ(fake.dialogs.messages.back().icon, app::MessageIcon::Information);

    fake.dialogs.answer({MessageAnswer::Yes});
    EXPECT_EQ(change(record, std::nullopt), Outcome::Done);
    // The element goes, the line end inserted with it stays.
    expected.replace(expected.find("<TYP>"), 19, "");
    EXPECT_EQ(testing::readText(package / "Info.xml"), expected + "\r\n\r\n");
    EXPECT_TRUE(fs::exists(package / "1234.Typ"));
}

}  // namespace
}  // namespace veldra
