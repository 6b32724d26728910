// The Info.xml a package gets: exact lines for both kinds of package, and a
// file every XML reader accepts.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "gmap/InfoXmlWriting.h"
#include "gmap/InfoXmlReading.h"
#include "gmap/GmapTestFiles.h"
#include "platform/Cp1252.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra::gmap {
namespace {

// The new mapset's package has the fourteen lines the test packages have; an
// existing mapset's names its index, MDR and type files before the sub-product.
TEST(InfoXmlWritingTest, PackagesOfNewAndExistingMapsetsHaveTheirExactLines) {
    EXPECT_EQ(infoXmlBytes({"Alpen Test", "4711", std::nullopt, false, std::nullopt, "1", "Alpenoooo.tdb", "Product1"}),
              testing::packageInfoXml("Alpen Test", "4711", "Alpenoooo.tdb"));
    std::string existing = testing::packageInfoXml("Topo_Nord", "777", "topo.tdb", "topo.mdx", "57");
    existing.insert(existing.find("<SubProduct>"), "<MDR>MDRMAP</MDR>\r\n<TYP>0903.TYP</TYP>\r\n");
    EXPECT_EQ(infoXmlBytes({"Topo_Nord", "777", "topo.mdx", true, "0903.TYP", "57", "topo.tdb", "Product57"}), existing);
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
    EXPECT_EQ(std::tie(read.subProducts[0].name, read.mdx, read.fid),
              std::make_tuple("Cafés & <Bars>", "a&b.mdx", "4711"));
}

}  // namespace
}  // namespace veldra::gmap
