// The management tasks refuse what would break a registration or reach past
// a mapset's own files, and leave everything as it was when they fail.

#include "tasks/ManagementTasks.h"

#include "tasks/CatalogTasks.h"

#include "registration/CatalogTestSupport.h"
#include "registration/RegistryRecordReading.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using registration::RecordKind;

class ManagementTasksTest : public testing::CatalogTest {
protected:
    const fs::path typSource = testing::builtData("alpha/alpha.typ");
};

TEST_F(ManagementTasksTest, ProductKeyStaysWhenItsFamilyCannotBeWritten) {
    const auto files = installAlpha("prod", {}, 0, 7);
    registerProduct("7", files);
    fake.registry.denyWriteAccess(Machine, key(RecordKind::Families));

    const auto changed = tasks::changeTypeFile(fake.session, {{"7", std::nullopt}, typSource});
    EXPECT_FALSE(changed.ok());
    const std::string productKey = key(RecordKind::Products) + "7";
    EXPECT_EQ(value(productKey, "TDB"), files.tdb);
    EXPECT_EQ(value(productKey, "Loc"), files.loc);
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "7"));
    ASSERT_EQ(registration::readRegistryRecords(fake.session).size(), 1u);
}

TEST_F(ManagementTasksTest, AFailedCommitLeavesTheRegistryAsItWas) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Alpha4711", files);
    const std::string familyKey = key(RecordKind::Families) + "Alpha4711";
    fake.registry.failNextCommit();

    EXPECT_FALSE(tasks::changeTypeFile(fake.session, {{"4711", std::nullopt}, typSource}).ok());
    EXPECT_EQ(value(familyKey, "TYP"), "<missing>");
    EXPECT_EQ(value(familyKey + "\\1", "TDB"), files.tdb);
}

TEST_F(ManagementTasksTest, PackageLeadingOutOfItsFolderIsNeverChanged) {
    const fs::path victim = fake.temp.path() / "elsewhere" / "victim.txt";
    fs::create_directories(victim.parent_path());
    testing::writeBytes(victim, std::vector<std::uint8_t>(200, 'v'));
    const fs::path package = installPackage("Topo", "1234");
    const fs::path infoXml = package / "Info.xml";
    std::string xml = testing::readText(infoXml);
    xml.replace(xml.find("11000000.tdb"), 12, "../../../../elsewhere/victim.txt");
    testing::writeCp1252(infoXml, xml);
    const auto infoBefore = testing::readBytes(infoXml);

    for (const auto& status : {tasks::renameMapset(fake.session, {{"1234", std::nullopt}, "Karte"}),
                               tasks::changeTypeFile(fake.session, {{"1234", std::nullopt}, typSource})}) {
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.failure().kind, FailureKind::Error);
        EXPECT_NE(status.failure().detail.find("victim.txt"), std::string::npos) << status.failure().detail;
    }
    EXPECT_EQ(testing::readBytes(victim), std::vector<std::uint8_t>(200, 'v'));
    EXPECT_EQ(testing::readBytes(infoXml), infoBefore);

    // Removal takes only the package folder: that stays possible.
    fake.dialogs.answer({app::MessageAnswer::Yes});
    EXPECT_TRUE(tasks::removeMapset(fake.session, {"1234", std::nullopt}).ok());
    EXPECT_FALSE(fs::exists(package));
    EXPECT_EQ(testing::readBytes(victim), std::vector<std::uint8_t>(200, 'v'));
}

TEST_F(ManagementTasksTest, RegistryValuesNamingOtherFilesAreNotDeletedOrRewritten) {
    auto files = installAlpha("alpha");
    const fs::path precious = native(files.loc) / "notes.txt";
    // A real TDB under another name: the catalog lists it, but it is no .tdb file.
    fs::copy_file(native(files.tdb), precious);
    const auto before = testing::readBytes(precious);
    files.tdb = host(precious);
    registerFamily(RecordKind::Families, "Alpha4711", files);

    fake.dialogs.answer({app::MessageAnswer::Ok});
    EXPECT_FALSE(tasks::removeMapset(fake.session, {"4711", std::nullopt}).ok());
    EXPECT_FALSE(tasks::renameMapset(fake.session, {{"4711", std::nullopt}, "Other"}).ok());
    EXPECT_EQ(testing::readBytes(precious), before);
    EXPECT_TRUE(keyExists(key(RecordKind::Families) + "Alpha4711"));
}

TEST_F(ManagementTasksTest, AFileThatIsNoTypeFileChangesNothing) {
    const auto files = installAlpha("alpha");
    registerFamily(RecordKind::Families, "Alpha4711", files);
    ASSERT_TRUE(tasks::changeTypeFile(fake.session, {{"4711", std::nullopt}, typSource}).ok());
    const std::string familyKey = key(RecordKind::Families) + "Alpha4711";
    const std::string attached = value(familyKey, "TYP");
    const auto attachedBytes = testing::readBytes(native(attached));

    const fs::path empty = fake.temp.path() / "empty.typ";
    testing::writeBytes(empty, {});
    const auto changed = tasks::changeTypeFile(fake.session, {{"4711", std::nullopt}, empty});
    ASSERT_FALSE(changed.ok());
    EXPECT_EQ(changed.failure(), fail(Msg::MsgNotTypeFileContent, empty.string()));
    EXPECT_EQ(value(familyKey, "TYP"), attached);
    EXPECT_EQ(testing::readBytes(native(attached)), attachedBytes);
    EXPECT_FALSE(fs::exists(native(attached + ".bak")));
}

TEST_F(ManagementTasksTest, AFamilyWithoutItsTdbKeepsItsFidAndCanBeNamedByItsKey) {
    auto files = installAlpha("gone");
    registerFamily(RecordKind::Families, "Gone10", files, "1", 10);
    fs::remove(native(files.tdb));

    const auto free = tasks::findFreeFid(fake.session);
    ASSERT_TRUE(free.ok());
    EXPECT_EQ(*free, 11);

    fake.dialogs.answer({app::MessageAnswer::Ok});
    EXPECT_TRUE(tasks::removeMapset(fake.session, {"Gone10", std::nullopt}).ok());
    EXPECT_FALSE(keyExists(key(RecordKind::Families) + "Gone10"));
}

}  // namespace
}  // namespace veldra
