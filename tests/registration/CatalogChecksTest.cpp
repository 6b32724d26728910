#include "registration/DuplicateFids.h"
#include "registration/FreeFid.h"
#include "registration/MapsetSelection.h"

#include "registration/CatalogTestSupport.h"

namespace veldra {
namespace {

using registration::CatalogEntry;
using registration::InstalledCatalog;
using registration::RecordKind;

registration::RegistryRecord registryRecord(const std::string& name, const std::string& fid,
                                            const std::string& pid = "1") {
    registration::RegistryRecord r;
    r.name = name;
    r.fid = fid;
    r.pid = pid;
    return r;
}

gmap::GmapRecord package(const std::string& name, const std::string& fid, const std::string& pid = "1") {
    gmap::GmapRecord p;
    p.name = name;
    p.fid = fid;
    p.pid = pid;
    return p;
}

class CatalogChecksTest : public testing::CatalogTest {};

TEST_F(CatalogChecksTest, FreeFidSkipsRegistryAndPackageFids) {
    registerFamily(RecordKind::Families, "Ten", installAlpha("ten", "Ten", 10));
    registerFamily(RecordKind::Families, "Eleven", installAlpha("eleven", "Eleven", 11));
    installPackage("Twelve", "12");
    InstalledCatalog catalog;  // empty: the search reads the catalog first
    EXPECT_EQ(registration::lowestFreeFid(fake.session, catalog), std::optional<std::uint16_t>(13));
    EXPECT_EQ(catalog.registry.size(), 2u);
    EXPECT_EQ(catalog.packages.records.size(), 1u);
}

TEST_F(CatalogChecksTest, FreeFidComparesNumbersAndKnowsWhenAllAreTaken) {
    InstalledCatalog catalog;
    catalog.registry = {registryRecord("a", "010"), registryRecord("!! TDB-File fehlt !!", "Fehler")};
    catalog.packages.records = {package("p", "11abc")};
    EXPECT_EQ(registration::lowestFreeFid(fake.session, catalog), std::optional<std::uint16_t>(12));
    for (int fid = 12; fid <= 9999; ++fid) catalog.packages.records.push_back(package("p", std::to_string(fid)));
    EXPECT_EQ(registration::lowestFreeFid(fake.session, catalog), std::nullopt);
}

TEST_F(CatalogChecksTest, DuplicateFidsWithTheSamePidAreReportedOncePerPair) {
    InstalledCatalog catalog;
    catalog.registry = {registryRecord("a", "4711"), registryRecord("b", "4711"), registryRecord("c", "4711", "2"),
                        registryRecord("!! TDB-File fehlt !!", "Fehler"), registryRecord("!! x", "Fehler")};
    catalog.packages.records = {package("p", "4711"), package("q", "0500"), package("r", "500")};
    const auto reported = registration::reportDuplicateFids(fake.dialogs, catalog);
    // a-b, a-p, b-p, q-r; c differs in PID; markers are no numbers.
    EXPECT_EQ(reported, (std::vector<std::string>{"4711", "4711", "4711", "0500"}));
    ASSERT_EQ(fake.dialogs.messages.size(), 4u);
    EXPECT_EQ(fake.dialogs.messages[0].text, "FID 4711 ist doppelt.");
    EXPECT_EQ(fake.dialogs.messages[0].buttons, app::MessageButtons::Ok);
    EXPECT_EQ(fake.dialogs.messages[3].text, "FID 0500 ist doppelt.");
}

TEST_F(CatalogChecksTest, MapsetsAreChosenByShownNameOrFid) {
    InstalledCatalog catalog;
    catalog.registry = {registryRecord(std::string("Alps\0d\0Alps", 11), "4711"), registryRecord("Alps", "12", "2"),
                        registryRecord("!! TDB-File fehlt !!", "Fehler")};
    catalog.packages.records = {package("Topo", "4711", "1"), package("1234", "99")};
    using V = std::vector<CatalogEntry>;
    EXPECT_EQ(registration::matchMapsets(catalog, "Alps"), (V{{false, 0}, {false, 1}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "Alps", 2), (V{{false, 1}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "4711"), (V{{false, 0}, {true, 0}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "4711", 1), (V{{false, 0}, {true, 0}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "!! TDB-File fehlt !!"), (V{{false, 2}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "1234"), (V{{true, 1}}));
    EXPECT_EQ(registration::matchMapsets(catalog, "Fehler"), V{});
    EXPECT_EQ(registration::matchMapsets(catalog, "alps"), V{});
}

}  // namespace
}  // namespace veldra
