// The Info.xml a package gets: exact lines for both kinds of package, and a
// file every XML reader accepts.

#include <gtest/gtest.h>

#include <string>

#include "gmap/InfoXmlWriting.h"
#include "gmap/InfoXmlReading.h"
#include "platform/Cp1252.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra::gmap {
namespace {

std::string lines(std::initializer_list<const char*> each) {
    std::string text;
    for (const char* line : each) text += std::string(line) + "\r\n";
    return text;
}

TEST(InfoXmlWritingTest, NewMapsetPackageHasItsFourteenLines) {
    InfoXmlContent content{"Alpen Test", "4711", std::nullopt, false, std::nullopt, "1", "Alpenoooo.tdb", "Product1"};
    EXPECT_EQ(infoXmlBytes(content),
              lines({"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>",
                     "<MapProduct xmlns=\"http://www.garmin.com/xmlschemas/MapProduct/v1\">", "<Name>Alpen Test</Name>",
                     "<DataVersion>100</DataVersion>", "<DataFormat>Original</DataFormat>", "<ID>4711</ID>",
                     "<SubProduct>", "<Name>Alpen Test</Name>", "<ID>1</ID>", "<BaseMap>mapset</BaseMap>",
                     "<TDB>Alpenoooo.tdb</TDB>", "<Directory>Product1</Directory>", "</SubProduct>",
                     "</MapProduct>"}));
}

TEST(InfoXmlWritingTest, ExistingMapsetPackageNamesItsIndexMdrAndTypeFiles) {
    InfoXmlContent content{"Topo_Nord", "777", "topo.mdx", true, "0903.TYP", "57", "topo.tdb", "Product57"};
    EXPECT_EQ(infoXmlBytes(content),
              lines({"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>",
                     "<MapProduct xmlns=\"http://www.garmin.com/xmlschemas/MapProduct/v1\">", "<Name>Topo_Nord</Name>",
                     "<DataVersion>100</DataVersion>", "<DataFormat>Original</DataFormat>", "<ID>777</ID>",
                     "<IDX>topo.mdx</IDX>", "<MDR>MDRMAP</MDR>", "<TYP>0903.TYP</TYP>", "<SubProduct>",
                     "<Name>Topo_Nord</Name>", "<ID>57</ID>", "<BaseMap>mapset</BaseMap>", "<TDB>topo.tdb</TDB>",
                     "<Directory>Product57</Directory>", "</SubProduct>", "</MapProduct>"}));
}

TEST(InfoXmlWritingTest, ValuesAreSingleByteAndEscapedSoTheReaderGetsThemBack) {
    testing::TempDir dir;
    InfoXmlContent content{"Cafés & <Bars>", "4711", "a&b.mdx", false, std::nullopt, "1", "x.tdb", "Product1"};
    ASSERT_TRUE(writeInfoXml(dir.path(), content));
    const auto bytes = testing::readBytes(dir.path() / "Info.xml");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("<Name>Caf\xE9s &amp; &lt;Bars&gt;</Name>\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("<IDX>a&amp;b.mdx</IDX>"), std::string::npos);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u) << "no byte-order mark";

    const auto read = readInfoXml(platform::cp1252ToUtf8(text));
    EXPECT_FALSE(read.damaged);
    ASSERT_EQ(read.subProducts.size(), 1u);
    EXPECT_EQ(read.subProducts[0].name, "Cafés & <Bars>");
    EXPECT_EQ(read.mdx, "a&b.mdx");
    EXPECT_EQ(read.fid, "4711");
}

}  // namespace
}  // namespace veldra::gmap
