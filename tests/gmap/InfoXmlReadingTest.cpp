#include <gtest/gtest.h>

#include "gmap/GmapRecord.h"
#include "gmap/GmapTestFiles.h"
#include "gmap/InfoXmlReading.h"

namespace veldra {
namespace {

// Sub-products as "name|pid|tdb".
std::vector<std::string> subProductsOf(const gmap::InfoXmlFacts& facts) {
    std::vector<std::string> lines;
    for (const auto& s : facts.subProducts) lines.push_back(s.name + "|" + s.pid + "|" + s.tdbName);
    return lines;
}

TEST(InfoXmlReadingTest, FidIndexAndSubProductsAreCaseSensitiveSubstrings) {
    const std::string good = "<SubProduct><Name>A</Name><ID>1</ID><TDB>a.tdb</TDB></SubProduct>";
    const struct {
        std::string xml;
        bool damaged;
        std::string fid, mdx;
        std::vector<std::string> subProducts;
    } cases[] = {
        {testing::packageInfoXml("Topo North", "1234", "Topo_N12.tdb"), false, "1234", gmap::NoMdxFileMarker,
         {"Topo North|1|Topo_N12.tdb"}},
        {testing::packageInfoXml("Topo", "77", "Topo_o77.tdb", "Topo_o77.mdx", " 007 "), false, "77", "Topo_o77.mdx",
         {"Topo|7|Topo_o77.tdb"}},
        {"<ID>500</ID><SubProduct><Name>North</Name><ID>1</ID><TDB>n.tdb</TDB></SubProduct>"
         "<SubProduct><Name>South</Name><ID>2</ID><TDB>s.tdb</TDB></SubProduct>",
         false, "500", gmap::NoMdxFileMarker, {"North|1|n.tdb", "South|2|s.tdb"}},
        // The FID ends at the first "</ID", wherever it is; lower-case tags are other tags.
        {"<ID>12<IDX>a.mdx</IDX></ID><SubProduct>", true, "12<IDX>a.mdx", "a.mdx", {}},
        {"<id>12</id><SubProduct><Name>A</Name><ID>1</ID><TDB>a</TDB>", false, "1", gmap::NoMdxFileMarker, {"A|1|a"}},
        {"<ID>12</ID><subproduct><Name>A</Name><ID>1</ID><TDB>a</TDB>", false, "12", gmap::NoMdxFileMarker, {}},
        {"<id>12</id><SubProduct><Name>A</Name><id>1</id><TDB>a</TDB>", true, "", "", {}},
        {"<MapProduct><Name>A</Name></MapProduct>", true, "", "", {}},
        {"<ID>5</ID><IDX>a.mdx", true, "5", "", {}},
        // A damaged sub-product ends the reading; those read before stay.
        {"<ID>5</ID>" + good + "<SubProduct><ID>2</ID><TDB>b.tdb</TDB>", true, "5", gmap::NoMdxFileMarker,
         {"A|1|a.tdb"}},
        {"<ID>5</ID>" + good + "<SubProduct><Name>B</Name><ID>x</ID>", true, "5", gmap::NoMdxFileMarker, {"A|1|a.tdb"}},
        {"<ID>5</ID>" + good + "<SubProduct><Name>B</Name><ID>40000</ID><TDB>b</TDB>", true, "5", gmap::NoMdxFileMarker,
         {"A|1|a.tdb"}},
        {"<ID>5</ID>" + good + "<SubProduct><Name>B</Name><ID>2</ID><TDB>b.tdb", true, "5", gmap::NoMdxFileMarker,
         {"A|1|a.tdb"}},
    };
    for (const auto& c : cases) {
        const auto facts = gmap::readInfoXml(c.xml);
        EXPECT_EQ(facts.damaged, c.damaged) << c.xml;
        EXPECT_EQ(subProductsOf(facts), c.subProducts) << c.xml;
        EXPECT_EQ(facts.fid, c.fid) << c.xml;
        EXPECT_EQ(facts.mdx, c.mdx) << c.xml;
    }
}

// Character codes are code page 1252 bytes: the euro sign (0x80) comes before
// "ä" (0xE4), though Unicode puts it far after.
TEST(InfoXmlReadingTest, RecordsAreOrderedByCharacterCodeAndStayInTheirFoundOrderWhenEqual) {
    std::vector<gmap::GmapRecord> records(6);
    const char* found[][2] = {{"b", ""}, {"a", "first"}, {"ä", ""}, {"B", ""}, {"€", ""}, {"a", "second"}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].name = found[i][0];
        records[i].infoXml = found[i][1];
    }
    gmap::orderGmapRecords(records);
    std::vector<std::string> order;
    for (const auto& r : records) order.push_back(r.name + r.infoXml.string());
    EXPECT_EQ(order, (std::vector<std::string>{"B", "afirst", "asecond", "b", "€", "ä"}));
}

}  // namespace
}  // namespace veldra
