// The lines of an export `log` fill the registration's fields by their ending.

#include "existing/ExportLogFields.h"

#include <gtest/gtest.h>

#include <tuple>

namespace veldra::existing {
namespace {

namespace fs = std::filesystem;

TEST(ExportLogFieldsTest, EachEndingFillsItsField) {
    const fs::path folder = "/media/usb/MYMAP";
    const auto mapset = mapsetFromExportLog(
        "MYMAP.Tdb\r\nTOPO.TRF\r\nMYMAP.mdx\r\n\r\n2104.Typ\r\nMYMAP_mdr.img\r\nMYMAP.Img\r\n", folder);
    ASSERT_TRUE(mapset.ok()) << mapset.failure().detail;
    EXPECT_EQ(std::tie(mapset->tdb, mapset->overviewMap, mapset->tilesFolder),
              std::make_tuple(folder / "MYMAP.Tdb", folder / "MYMAP.Img", folder));
    EXPECT_EQ(std::tie(mapset->trafficFile, mapset->indexFile, mapset->typeFile, mapset->mdrFile),
              std::make_tuple(folder / "TOPO.TRF", folder / "MYMAP.mdx", folder / "2104.Typ", folder / "MYMAP_mdr.img"));
    EXPECT_TRUE(mapset->name.empty() && mapset->fid.empty() && mapset->pid.empty());
}

TEST(ExportLogFieldsTest, MdrNamesAreToldFromOverviewMaps) {
    const fs::path folder = "/x";
    for (const char* mdr : {"AMDR.IMG", "Amdr.IMG", "Amdr.img", "Amdr.Img", "a.mdr.IMG"})
        EXPECT_EQ(mapsetFromExportLog(std::string(mdr) + "\r\n", folder)->mdrFile, folder / mdr) << mdr;
    for (const char* overview : {"AMDR.img", "AMDR.Img", "MDR_1.IMG"}) {
        const auto mapset = mapsetFromExportLog(std::string(overview) + "\n", folder);
        EXPECT_EQ(mapset->overviewMap, folder / overview) << overview;
        EXPECT_FALSE(mapset->mdrFile) << overview;
    }
}

TEST(ExportLogFieldsTest, OtherSpellingsAreIgnoredAndPathsOutOfTheFolderRefused) {
    const auto mapset = mapsetFromExportLog("a.tDb\r\nb.TYp\r\nreadme.txt\r\n", "/x");
    ASSERT_TRUE(mapset.ok());
    EXPECT_TRUE(mapset->tdb.empty());
    EXPECT_FALSE(mapset->typeFile);
    EXPECT_FALSE(mapsetFromExportLog("..\\..\\evil.tdb\r\n", "/x").ok());
    EXPECT_FALSE(mapsetFromExportLog("/etc/evil.tdb\r\n", "/x").ok());
}

// The log is code page 1252: its names reach the fields as UTF-8.
TEST(ExportLogFieldsTest, NamesAreReadInTheCodePage) {
    const auto mapset = mapsetFromExportLog("K\xE4se.tdb\r\n", "/x");
    ASSERT_TRUE(mapset.ok());
    EXPECT_EQ(mapset->tdb, fs::path("/x") / "K\xC3\xA4se.tdb");
}

}  // namespace
}  // namespace veldra::existing
