#include "registration/DuplicateFids.h"
#include "registration/FreeFid.h"
#include "registration/MapsetSelection.h"

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

using registration::CatalogEntry;
using registration::InstalledCatalog;

template <typename Record>
Record record(const std::string& name, const std::string& fid, const std::string& pid) {
    Record r;
    r.name = name;
    r.fid = fid;
    r.pid = pid;
    return r;
}
const auto entry = record<registration::RegistryRecord>;
const auto package = record<gmap::GmapRecord>;

class CatalogChecksTest : public testing::CatalogTest {};

// Reading the catalog for the search is run by the task and command tests.
TEST_F(CatalogChecksTest, FreeFidSkipsRegistryAndPackageFidsAsNumbers) {
    InstalledCatalog catalog;
    catalog.registry = {entry("a", "010", "1"), entry("!! TDB-File fehlt !!", "Fehler", "1")};
    catalog.packages.records = {package("p", "11abc", "1")};
    EXPECT_EQ(registration::lowestFreeFid(fake.session, catalog), std::optional<std::uint16_t>(12));
    for (int fid = 12; fid <= 9999; ++fid) catalog.packages.records.push_back(package("p", std::to_string(fid), "1"));
    EXPECT_EQ(registration::lowestFreeFid(fake.session, catalog), std::nullopt);
}

TEST_F(CatalogChecksTest, DuplicateFidsWithTheSamePidAreReportedOncePerPair) {
    InstalledCatalog catalog;
    catalog.registry = {entry("a", "4711", "1"), entry("b", "4711", "1"), entry("c", "4711", "2"),
                        entry("!! TDB-File fehlt !!", "Fehler", "1"), entry("!! x", "Fehler", "1")};
    catalog.packages.records = {package("p", "4711", "1"), package("q", "0500", "1"), package("r", "500", "1")};
    // a-b, a-p, b-p, q-r; c differs in PID; markers are no numbers.
    EXPECT_EQ(registration::reportDuplicateFids(fake.dialogs, catalog),
              (std::vector<std::string>{"4711", "4711", "4711", "0500"}));
    ASSERT_EQ(fake.dialogs.messages.size(), 4u);
    EXPECT_EQ(fake.dialogs.messages[0].text, "FID 4711 ist doppelt.");
    EXPECT_EQ(fake.dialogs.messages[0].buttons, app::MessageButtons::Ok);
    EXPECT_EQ(fake.dialogs.messages[3].text, "FID 0500 ist doppelt.");
}

TEST_F(CatalogChecksTest, MapsetsAreChosenByShownNameOrFid) {
    InstalledCatalog catalog;
    catalog.registry = {entry(std::string("Alps\0d\0Alps", 11), "4711", "1"), entry("Alps", "12", "2"),
                        entry("!! TDB-File fehlt !!", "Fehler", "1")};
    catalog.packages.records = {package("Topo", "4711", "1"), package("1234", "99", "1")};
    using V = std::vector<CatalogEntry>;
    const std::vector<std::tuple<std::string, std::optional<std::uint32_t>, V>> cases = {
        {"Alps", {}, {{false, 0}, {false, 1}}}, {"Alps", 2, {{false, 1}}}, {"4711", {}, {{false, 0}, {true, 0}}},
        {"4711", 1, {{false, 0}, {true, 0}}}, {"!! TDB-File fehlt !!", {}, {{false, 2}}}, {"1234", {}, {{true, 1}}},
        {"Fehler", {}, {}}, {"alps", {}, {}}};
    for (const auto& [wanted, pid, expected] : cases)
        EXPECT_EQ(registration::matchMapsets(catalog, wanted, pid), expected) << wanted;
}

}  // namespace
}  // namespace veldra
