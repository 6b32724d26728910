#include <gtest/gtest.h>

#include "gmap/GmapPackageScan.h"
#include "gmap/GmapTestFiles.h"
#include "gmap/InfoXmlReading.h"
#include "support/FakeHost.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::packageInfoXml;
using testing::writeCp1252;

class GmapPackageScanTest : public ::testing::Test {
protected:
    fs::path commonMaps() const { return host.shell.specialFolder(platform::csidl::CommonAppData) / "GARMIN" / "Maps"; }
    fs::path userMaps() const { return host.shell.specialFolder(platform::csidl::AppData) / "GARMIN" / "Maps"; }
    fs::path addPackage(const fs::path& folder, const std::string& name, const std::string& fid) {
        const fs::path package = folder / (name + ".gmap");
        writeCp1252(package / "Info.xml", packageInfoXml(name, fid, name + ".tdb"));
        return package;
    }
    void setBaseCampFolder(const fs::path& installDir) {
        EXPECT_TRUE(host.session.routines.storeString(platform::RegistryRoot::LocalMachine,
                                               host.session.hostRegistryRoot + "\\Garmin\\BaseCamp", "InstallDir",
                                               host.paths.toHost(installDir) + "\\").ok());
    }
    std::vector<std::string> displayLines(const gmap::GmapPackages& packages) const {
        std::vector<std::string> lines;
        for (const auto& r : packages.records) lines.push_back(r.display());
        return lines;
    }

    testing::FakeHost host;
};

TEST_F(GmapPackageScanTest, WithoutEitherMapsFolderTheListSaysSoAndBaseCampIsNotLookedAt) {
    const fs::path baseCamp = host.temp.path() / "BaseCamp";
    addPackage(baseCamp / "Maps", "Hidden", "77");
    setBaseCampFolder(baseCamp);
    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_TRUE(packages.noPackageFolders);
    EXPECT_TRUE(packages.records.empty());
}

TEST_F(GmapPackageScanTest, PackagesOfAllThreeFoldersComeOrderedByDisplayLine) {
    addPackage(commonMaps(), "Zeta", "30");
    const fs::path alpha = addPackage(userMaps(), "Alpha", "20");
    const fs::path baseCamp = host.temp.path() / "BaseCamp";
    addPackage(baseCamp / "Maps", "Mid", "25");
    setBaseCampFolder(baseCamp);

    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_FALSE(packages.noPackageFolders);
    EXPECT_EQ(displayLines(packages), (std::vector<std::string>{"gmap; Alpha; FID:20;PID:1", "gmap; Mid; FID:25;PID:1",
                                                                "gmap; Zeta; FID:30;PID:1"}));
    const auto& first = packages.records[0];
    EXPECT_EQ(first.infoXml, alpha / "Info.xml");
    EXPECT_EQ(first.tdb, alpha / "Product1" / "Alpha.tdb");
    EXPECT_EQ(first.mdx, gmap::NoMdxFileMarker);
    EXPECT_EQ(first.fid, "20");
    EXPECT_EQ(first.pid, "1");
}

TEST_F(GmapPackageScanTest, BaseCampFolderNeedsOneOfTheOthers) {
    fs::create_directories(userMaps());
    const fs::path baseCamp = host.temp.path() / "BaseCamp";
    addPackage(baseCamp / "Maps", "Mid", "25");
    setBaseCampFolder(baseCamp);
    EXPECT_EQ(displayLines(gmap::scanGmapPackages(host.session)), (std::vector<std::string>{"gmap; Mid; FID:25;PID:1"}));
}

TEST_F(GmapPackageScanTest, ShortcutsToGmapFoldersAreFollowedExactly) {
    const fs::path elsewhere = host.temp.path() / "imported";
    const fs::path topo = addPackage(elsewhere, "Topo", "1234");
    const fs::path upper = elsewhere / "Upper.GMAP";
    writeCp1252(upper / "Info.xml", packageInfoXml("Upper", "99", "u.tdb"));
    testing::writeFileBytes(commonMaps() / "any name", testing::shellLinkTo(host.paths.toHost(topo)));
    testing::writeFileBytes(commonMaps() / "Upper.lnk", testing::shellLinkTo(host.paths.toHost(upper)));
    writeCp1252(commonMaps() / "readme.txt", "not a link");

    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_TRUE(host.dialogs.messages.empty());
    EXPECT_EQ(displayLines(packages), (std::vector<std::string>{"gmap; Topo; FID:1234;PID:1"}));
    EXPECT_EQ(packages.records[0].tdb, topo / "Product1" / "Topo.tdb");
}

TEST_F(GmapPackageScanTest, APackageReachedByAShortcutMayLieAnywhere) {
    // One shortcut into the other maps folder, one out of them (an imported package stays where it was put).
    const fs::path inUser = addPackage(userMaps(), "Near", "10");
    const fs::path far = addPackage(host.temp.path() / "imported", "Far", "20");
    testing::writeFileBytes(commonMaps() / "Near.lnk", testing::shellLinkTo(host.paths.toHost(inUser)));
    testing::writeFileBytes(commonMaps() / "Far.lnk", testing::shellLinkTo(host.paths.toHost(far)));

    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_EQ(displayLines(packages), (std::vector<std::string>{"gmap; Far; FID:20;PID:1", "gmap; Near; FID:10;PID:1",
                                                                "gmap; Near; FID:10;PID:1"}));
    EXPECT_EQ(packages.records[0].tdb, far / "Product1" / "Far.tdb");
    for (const auto& record : packages.records) EXPECT_FALSE(record.pathProblem);
}

TEST_F(GmapPackageScanTest, OnlyFilesNamedInfoXmlAreRead) {
    writeCp1252(commonMaps() / "Lower.gmap" / "info.xml", packageInfoXml("Lower", "40", "l.tdb"));
    writeCp1252(commonMaps() / "Empty.gmap" / "Product1" / "x.tdb", "");
    EXPECT_TRUE(gmap::scanGmapPackages(host.session).records.empty());
}

TEST_F(GmapPackageScanTest, TwoSubProductsGiveTwoEntriesOfOnePackage) {
    const fs::path package = commonMaps() / "Pair.gmap";
    writeCp1252(package / "Info.xml",
                "<ID>600</ID><IDX>pair.mdx</IDX><SubProduct><Name>West</Name><ID>1</ID><TDB>w.tdb</TDB></SubProduct>"
                "<SubProduct><Name>East</Name><ID>2</ID><TDB>e.tdb</TDB></SubProduct>");
    const auto packages = gmap::scanGmapPackages(host.session);
    ASSERT_EQ(packages.records.size(), 2u);
    EXPECT_EQ(packages.records[0].display(), "gmap; East; FID:600;PID:2");
    EXPECT_EQ(packages.records[0].tdb, package / "Product2" / "e.tdb");
    EXPECT_EQ(packages.records[1].display(), "gmap; West; FID:600;PID:1");
    EXPECT_EQ(packages.records[0].infoXml, packages.records[1].infoXml);
    EXPECT_EQ(packages.records[1].mdx, "pair.mdx");
}

TEST_F(GmapPackageScanTest, TdbTextsLeadingOutOfTheProductFolderMarkTheRecordAndNameNoFile) {
    const fs::path package = commonMaps() / "Odd.gmap";
    const std::string elsewhere = (host.temp.path() / "elsewhere.tdb").string();
    for (const std::string& text : {elsewhere, std::string("../../elsewhere/victim.txt"), std::string("..\\..\\x.tdb"),
                                    std::string("C:\\victim.tdb")}) {
        writeCp1252(package / "Info.xml", packageInfoXml("Odd", "70", text));
        const auto packages = gmap::scanGmapPackages(host.session);
        ASSERT_EQ(packages.records.size(), 1u) << text;
        const auto& record = packages.records[0];
        EXPECT_EQ(record.display(), "gmap; Odd; FID:70;PID:1");
        EXPECT_TRUE(record.tdb.empty()) << record.tdb;
        ASSERT_TRUE(record.pathProblem) << text;
        EXPECT_EQ(*record.pathProblem, "The path \"" + text + "\" does not stay inside the folder " +
                                           (package / "Product1").string());
    }
    // Inside the product folder the text names the file, unmarked.
    writeCp1252(package / "Info.xml", packageInfoXml("Odd", "70", "maps\\..\\Odd.tdb"));
    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_EQ(packages.records[0].tdb, package / "Product1" / "Odd.tdb");
    EXPECT_FALSE(packages.records[0].pathProblem);
}

TEST_F(GmapPackageScanTest, AnInfoXmlLargerThanAnyPackageDescriptionIsReportedAndSkipped) {
    const fs::path huge = commonMaps() / "Huge.gmap" / "Info.xml";
    std::string xml = packageInfoXml("Huge", "80", "h.tdb");
    xml.resize(gmap::InfoXmlFileLimit + 1, ' ');
    writeCp1252(huge, xml);
    addPackage(commonMaps(), "Fine", "50");
    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_EQ(displayLines(packages), (std::vector<std::string>{"gmap; Fine; FID:50;PID:1"}));
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].text, "refusing to read " + huge.string() + ": it holds " +
                                                 std::to_string(gmap::InfoXmlFileLimit + 1) + " bytes, more than the " +
                                                 std::to_string(gmap::InfoXmlFileLimit) +
                                                 " a file of its kind ever has");
}

TEST_F(GmapPackageScanTest, DamagedInfoXmlIsReportedAndTheScanGoesOn) {
    const fs::path broken = commonMaps() / "Broken.gmap";
    writeCp1252(broken / "Info.xml", "<MapProduct><Name>Broken</Name></MapProduct>");
    addPackage(commonMaps(), "Fine", "50");
    const auto packages = gmap::scanGmapPackages(host.session);
    EXPECT_EQ(displayLines(packages), (std::vector<std::string>{"gmap; Fine; FID:50;PID:1"}));
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].text, "File " + (broken / "Info.xml").string() + " info.xml ist beschädigt");
    EXPECT_EQ(host.dialogs.messages[0].title, "VELDRA");
}

TEST_F(GmapPackageScanTest, NamesAreCodePage1252OnDisk) {
    const fs::path package = commonMaps() / "Sued.gmap";
    writeCp1252(package / "Info.xml", packageInfoXml("Süd", "61", "s.tdb"));
    const auto packages = gmap::scanGmapPackages(host.session);
    ASSERT_EQ(packages.records.size(), 1u);
    EXPECT_EQ(packages.records[0].name, "Süd");
}

}  // namespace
}  // namespace veldra
