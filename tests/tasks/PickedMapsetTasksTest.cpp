// What the desktop program asks of the tasks before the user picks a mapset:
// the catalog of the removal mode with the FIDs used twice, and the latitude
// that suits a product's installed mapset.

#include "tasks/LatitudeTask.h"
#include "tasks/ManagementTasks.h"

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

using registration::RecordKind;

class PickedMapsetTasksTest : public testing::CatalogTest {};

TEST_F(PickedMapsetTasksTest, RemovalCatalogReportsSharedFidsAndTheSuggestionReadsTheChosenTdb) {
    registerFamily(RecordKind::Families, "Alpha4711", installAlpha("alpha"));
    installPackage("Topo", "4712");
    const tasks::LatitudeTarget alpha{"4711", "1", std::nullopt};
    const auto latitude = tasks::suggestLatitude(fake.session, alpha);
    ASSERT_TRUE(latitude.ok()) << latitude.failure().detail;
    EXPECT_EQ(*latitude, 47);
    EXPECT_TRUE(fake.dialogs.messages.empty());  // nothing asked, nothing stored
    EXPECT_FALSE(tasks::suggestLatitude(fake.session, {"4799", "1", std::nullopt}).ok());
    EXPECT_EQ(tasks::suggestLatitude(fake.session, {"4711", "0", std::nullopt}).failure().message, Msg::MsgWrongPid);

    // A second mapset with the same FID and PID: the removal mode lists both and says so.
    registerFamily(RecordKind::Families, "Copy4711", installAlpha("copy"));
    const auto catalog = tasks::listMapsetsForRemoval(fake.session);
    ASSERT_TRUE(catalog.ok());
    EXPECT_EQ(catalog->registry.size(), 2u);
    EXPECT_EQ(catalog->packages.records.size(), 1u);
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.texts().back(), "FID 4711 ist doppelt.");
    EXPECT_FALSE(tasks::suggestLatitude(fake.session, alpha).ok());  // two mapsets: which one is unclear
}

}  // namespace
}  // namespace veldra
