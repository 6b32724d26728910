#include "registration/MapsetRename.h"

#include "formats/TdbChecksum.h"
#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;

class MapsetRenameTest : public testing::CatalogTest {
protected:
    registration::InstalledCatalog catalog() {
        registration::InstalledCatalog c;
        c.rebuild(fake.session);
        return c;
    }
};

TEST_F(MapsetRenameTest, RegistryMapsetIsRenamedInItsTdbWithABackup) {
    const auto files = installAlpha("alpha");
    registerFamily(registration::RecordKind::Families, "Alpha4711", files);
    const auto before = testing::readBytes(native(files.tdb));
    auto c = catalog();

    EXPECT_TRUE(registration::renameRegistryMapset(fake.session, c, c.registry.at(0), "Alpen").ok());
    EXPECT_EQ(formats::checksumMatches(testing::readBytes(native(files.tdb))), std::optional<bool>(true));
    EXPECT_EQ(testing::readBytes(native(files.tdb + "-BAK")), before);
    EXPECT_EQ(fake.dialogs.texts(),
              (std::vector<std::string>{"VELDRA has created a backupfile  as file : " + native(files.tdb).string() + "-BAK",
                                        "Mapname was changed."}));
    ASSERT_EQ(c.registry.size(), 1u);
    EXPECT_EQ(c.registry[0].shownName(), "Alpen");
    EXPECT_EQ(c.registry[0].subkey, "Alpha4711\\1");  // keys keep their names
}

TEST_F(MapsetRenameTest, PackageIsRenamedInItsNameElementsAndTdbAndKeepsTheNameWithoutItsTdb) {
    // A file name element that holds the name keeps it: the file keeps its name too.
    const fs::path package = installPackage("Topo", "1234", "<IDX>Topo.mdx</IDX>\r\n");
    fs::remove(installPackage("Lost", "1235") / "Product1" / "11000000.tdb");
    auto c = catalog();
    ASSERT_EQ(c.packages.records.size(), 2u);

    // Without its TDB the package keeps the new name in Info.xml, and the failure is shown.
    const auto renamed = registration::renameGmapPackage(fake.session, c, c.packages.records[0], "Alpen");
    ASSERT_FALSE(renamed.ok());
    EXPECT_EQ(renamed.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(c.packages.records[0].name, "Alpen");

    EXPECT_TRUE(registration::renameGmapPackage(fake.session, c, c.packages.records[1], "Karte").ok());
    std::string expected = testing::packageInfoXml("Karte", "1234", "11000000.tdb");
    expected.insert(expected.find("<SubProduct>"), "<IDX>Topo.mdx</IDX>\r\n");
    EXPECT_EQ(testing::readText(package / "Info.xml"), expected);
    EXPECT_TRUE(fs::exists(package / "Product1" / "11000000.tdb-BAK"));
    EXPECT_EQ(c.packages.records[1].display(), "gmap; Karte; FID:1234;PID:1");
    EXPECT_EQ(fake.dialogs.texts(), (std::vector<std::string>{"da ging was schief, versuche es bitte erneut",
                                                              "VELDRA has created a backupfile  as file : " +
                                                                  (package / "Product1/11000000.tdb-BAK").string(),
                                                              "Mapname was changed."}));
}

TEST_F(MapsetRenameTest, NewNameLosesLeadingBlanksAndIsCutAtASpecialCharacter) {
    EXPECT_EQ(registration::checkNewMapsetName(fake.session, "   Alpen Nord").name, "Alpen Nord");
    EXPECT_TRUE(fake.dialogs.messages.empty());
    const auto refused = registration::checkNewMapsetName(fake.session, "Täler");
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(refused.name, "T");
    EXPECT_EQ(fake.dialogs.texts(),
              std::vector<std::string>{"The filename must not contain any special characters, use A-->Z, a-->z, 0-->9"});
}

}  // namespace
}  // namespace veldra
