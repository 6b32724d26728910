#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "gmap/GmapPackageScan.h"
#include "gmap/GmapTestFiles.h"
#include "gmap/InfoXmlReading.h"
#include "support/FakeHost.h"

namespace veldra {
namespace {

namespace fs = std::filesystem;
using testing::packageInfoXml;
using testing::writeCp1252;
using Lines = std::vector<std::string>;

class GmapPackageScanTest : public ::testing::Test {
protected:
    fs::path commonMaps() const { return host.shell.specialFolder(platform::csidl::CommonAppData) / "GARMIN" / "Maps"; }
    fs::path userMaps() const { return host.shell.specialFolder(platform::csidl::AppData) / "GARMIN" / "Maps"; }
    fs::path addPackage(const fs::path& folder, const std::string& name, const std::string& fid) {
        const fs::path package = folder / (name + ".gmap");
        writeCp1252(package / "Info.xml", packageInfoXml(name, fid, name + ".tdb"));
        return package;
    }
    void linkTo(const std::string& name, const fs::path& target) {
        testing::writeShellLink(commonMaps() / name, host.paths.toHost(target));
    }
    gmap::GmapPackages scan() { return gmap::scanGmapPackages(host.session); }
    static Lines displayLines(const gmap::GmapPackages& packages) {
        Lines lines;
        for (const auto& r : packages.records) lines.push_back(r.display());
        return lines;
    }

    testing::FakeHost host;
};

TEST_F(GmapPackageScanTest, PackagesOfAllThreeFoldersComeOrderedButBaseCampNeedsOneOfTheOthers) {
    const fs::path baseCamp = host.temp.path() / "BaseCamp";
    addPackage(baseCamp / "Maps", "Mid", "25");
    EXPECT_TRUE(host.session.routines.storeString(platform::RegistryRoot::LocalMachine,
                                                  host.session.hostRegistryRoot + "\\Garmin\\BaseCamp", "InstallDir",
                                                  host.paths.toHost(baseCamp) + "\\").ok());
    const auto none = scan();
    EXPECT_TRUE(none.noPackageFolders);
    EXPECT_TRUE(none.records.empty());
    fs::create_directories(userMaps());
    EXPECT_EQ(displayLines(scan()), Lines{"gmap; Mid; FID:25;PID:1"});

    addPackage(commonMaps(), "Zeta", "30");
    const fs::path alpha = addPackage(userMaps(), "Alpha", "20");
    const auto packages = scan();
    EXPECT_FALSE(packages.noPackageFolders);
    EXPECT_EQ(displayLines(packages),
              (Lines{"gmap; Alpha; FID:20;PID:1", "gmap; Mid; FID:25;PID:1", "gmap; Zeta; FID:30;PID:1"}));
    const auto& first = packages.records[0];
    EXPECT_EQ(std::tie(first.infoXml, first.tdb, first.mdx, first.name),
              std::make_tuple(alpha / "Info.xml", alpha / "Product1" / "Alpha.tdb", gmap::NoMdxFileMarker, "Alpha"));
}

TEST_F(GmapPackageScanTest, ShortcutsToGmapFoldersAreFollowedExactlyWherePackagesLie) {
    // One shortcut into the other maps folder, others out of them (an imported package stays where it was put).
    const fs::path elsewhere = host.temp.path() / "imported";
    const fs::path topo = addPackage(elsewhere, "Topo", "1234");
    const fs::path upper = elsewhere / "Upper.GMAP";
    writeCp1252(upper / "Info.xml", packageInfoXml("Upper", "99", "u.tdb"));
    const fs::path near = addPackage(userMaps(), "Near", "10");
    linkTo("any name", topo);
    linkTo("Upper.lnk", upper);
    linkTo("Near.lnk", near);
    writeCp1252(commonMaps() / "readme.txt", "not a link");

    const auto packages = scan();
    EXPECT_TRUE(host.dialogs.messages.empty());
    EXPECT_EQ(displayLines(packages),
              (Lines{"gmap; Near; FID:10;PID:1", "gmap; Near; FID:10;PID:1", "gmap; Topo; FID:1234;PID:1"}));
    EXPECT_EQ(packages.records[2].tdb, topo / "Product1" / "Topo.tdb");
    for (const auto& record : packages.records) EXPECT_FALSE(record.pathProblem);
}

TEST_F(GmapPackageScanTest, OnlyInfoXmlIsReadEverySubProductIsAnEntryAndNamesAreCodePage1252) {
    writeCp1252(commonMaps() / "Lower.gmap" / "info.xml", packageInfoXml("Lower", "40", "l.tdb"));
    writeCp1252(commonMaps() / "Empty.gmap" / "Product1" / "x.tdb", "");
    EXPECT_TRUE(scan().records.empty());

    const fs::path pair = commonMaps() / "Pair.gmap";
    writeCp1252(pair / "Info.xml",
                "<ID>600</ID><IDX>pair.mdx</IDX><SubProduct><Name>Süd</Name><ID>1</ID><TDB>w.tdb</TDB></SubProduct>"
                "<SubProduct><Name>East</Name><ID>2</ID><TDB>e.tdb</TDB></SubProduct>");
    const auto packages = scan();
    EXPECT_EQ(displayLines(packages), (Lines{"gmap; East; FID:600;PID:2", "gmap; Süd; FID:600;PID:1"}));
    EXPECT_EQ(packages.records[0].tdb, pair / "Product2" / "e.tdb");
    EXPECT_EQ(packages.records[0].infoXml, packages.records[1].infoXml);
    EXPECT_EQ(packages.records[1].mdx, "pair.mdx");
}

TEST_F(GmapPackageScanTest, TdbTextsLeadingOutOfTheProductFolderMarkTheRecordAndNameNoFile) {
    const fs::path package = commonMaps() / "Odd.gmap";
    for (const std::string& text : {(host.temp.path() / "elsewhere.tdb").string(), std::string("../../elsewhere/x.txt"),
                                    std::string("..\\..\\x.tdb"), std::string("C:\\victim.tdb")}) {
        writeCp1252(package / "Info.xml", packageInfoXml("Odd", "70", text));
        const auto packages = scan();
        ASSERT_EQ(displayLines(packages), Lines{"gmap; Odd; FID:70;PID:1"}) << text;
        EXPECT_TRUE(packages.records[0].tdb.empty()) << packages.records[0].tdb;
        EXPECT_EQ(packages.records[0].pathProblem,
                  "The path \"" + text + "\" does not stay inside the folder " + (package / "Product1").string());
    }
    // Inside the product folder the text names the file, unmarked.
    writeCp1252(package / "Info.xml", packageInfoXml("Odd", "70", "maps\\..\\Odd.tdb"));
    const auto packages = scan();
    EXPECT_EQ(packages.records[0].tdb, package / "Product1" / "Odd.tdb");
    EXPECT_FALSE(packages.records[0].pathProblem);
}

TEST_F(GmapPackageScanTest, OverlargeOrDamagedInfoXmlIsReportedAndTheScanGoesOn) {
    const fs::path huge = commonMaps() / "Huge.gmap" / "Info.xml";
    std::string xml = packageInfoXml("Huge", "80", "h.tdb");
    xml.resize(gmap::InfoXmlFileLimit + 1, ' ');
    writeCp1252(huge, xml);
    const fs::path broken = commonMaps() / "Broken.gmap" / "Info.xml";
    writeCp1252(broken, "<MapProduct><Name>Broken</Name></MapProduct>");
    addPackage(commonMaps(), "Fine", "50");

    EXPECT_EQ(displayLines(scan()), Lines{"gmap; Fine; FID:50;PID:1"});
    const std::string limit = std::to_string(gmap::InfoXmlFileLimit);
    Lines texts = host.dialogs.texts();  // in the order the folders were found
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (Lines{"File " + broken.string() + " info.xml ist beschädigt",
                            "refusing to read " + huge.string() + ": it holds " +
                                std::to_string(gmap::InfoXmlFileLimit + 1) + " bytes, more than the " + limit +
                                " a file of its kind ever has"}));
    for (const auto& message : host.dialogs.messages) EXPECT_EQ(message.title, "VELDRA");
}

}  // namespace
}  // namespace veldra
