#include <gtest/gtest.h>

#include "gmap/GmapRecord.h"
#include "gmap/InfoXmlReading.h"
#include "gmap/GmapTestFiles.h"

namespace veldra {
namespace {

using gmap::readInfoXml;
using testing::packageInfoXml;

TEST(InfoXmlReadingTest, WriterLayoutGivesFidIndexAndSubProduct) {
    const auto plain = readInfoXml(packageInfoXml("Topo North", "1234", "Topo_N12.tdb"));
    EXPECT_FALSE(plain.damaged);
    EXPECT_EQ(plain.fid, "1234");
    EXPECT_EQ(plain.mdx, gmap::NoMdxFileMarker);
    ASSERT_EQ(plain.subProducts.size(), 1u);
    EXPECT_EQ(plain.subProducts[0].name, "Topo North");
    EXPECT_EQ(plain.subProducts[0].pid, "1");
    EXPECT_EQ(plain.subProducts[0].tdbName, "Topo_N12.tdb");

    const auto indexed = readInfoXml(packageInfoXml("Topo", "77", "Topo_o77.tdb", "Topo_o77.mdx", " 007 "));
    EXPECT_EQ(indexed.mdx, "Topo_o77.mdx");
    ASSERT_EQ(indexed.subProducts.size(), 1u);
    EXPECT_EQ(indexed.subProducts[0].pid, "7");
}

TEST(InfoXmlReadingTest, EverySubProductIsAnEntryWithTheFileFid) {
    const std::string xml = "<ID>500</ID><SubProduct><Name>North</Name><ID>1</ID><TDB>n.tdb</TDB></SubProduct>"
                            "<SubProduct><Name>South</Name><ID>2</ID><TDB>s.tdb</TDB></SubProduct>";
    const auto facts = readInfoXml(xml);
    EXPECT_FALSE(facts.damaged);
    EXPECT_EQ(facts.fid, "500");
    ASSERT_EQ(facts.subProducts.size(), 2u);
    EXPECT_EQ(facts.subProducts[1].name, "South");
    EXPECT_EQ(facts.subProducts[1].pid, "2");
    EXPECT_EQ(facts.subProducts[1].tdbName, "s.tdb");
}

TEST(InfoXmlReadingTest, SearchesAreCaseSensitiveSubstrings) {
    // The FID ends at the first "</ID", wherever it is.
    EXPECT_EQ(readInfoXml("<ID>12<IDX>a.mdx</IDX></ID><SubProduct>").fid, "12<IDX>a.mdx");
    EXPECT_TRUE(readInfoXml("<id>12</id><SubProduct><Name>A</Name><id>1</id><TDB>a</TDB>").damaged);
    EXPECT_EQ(readInfoXml("<id>12</id><SubProduct><Name>A</Name><ID>1</ID><TDB>a</TDB>").fid, "1");
    // A lower-case sub-product tag is no sub-product.
    const auto facts = readInfoXml("<ID>12</ID><subproduct><Name>A</Name><ID>1</ID><TDB>a</TDB>");
    EXPECT_FALSE(facts.damaged);
    EXPECT_TRUE(facts.subProducts.empty());
}

TEST(InfoXmlReadingTest, DamagedFilesKeepTheSubProductsReadBefore) {
    EXPECT_TRUE(readInfoXml("<MapProduct><Name>A</Name></MapProduct>").damaged);
    EXPECT_TRUE(readInfoXml("<ID>5</ID><IDX>a.mdx").damaged);
    const std::string good = "<SubProduct><Name>A</Name><ID>1</ID><TDB>a.tdb</TDB></SubProduct>";
    for (const std::string broken : {"<SubProduct><ID>2</ID><TDB>b.tdb</TDB>", "<SubProduct><Name>B</Name><ID>x</ID>",
                                     "<SubProduct><Name>B</Name><ID>40000</ID><TDB>b</TDB>",
                                     "<SubProduct><Name>B</Name><ID>2</ID><TDB>b.tdb"}) {
        const auto facts = readInfoXml("<ID>5</ID>" + good + broken);
        EXPECT_TRUE(facts.damaged) << broken;
        ASSERT_EQ(facts.subProducts.size(), 1u) << broken;
        EXPECT_EQ(facts.subProducts[0].name, "A");
    }
}

TEST(InfoXmlReadingTest, DisplayLineAndOrder) {
    gmap::GmapRecord topo;
    topo.name = "Topo North";
    topo.fid = "1234";
    topo.pid = "1";
    EXPECT_EQ(topo.display(), "gmap; Topo North; FID:1234;PID:1");

    std::vector<gmap::GmapRecord> records(4, topo);
    records[0].name = "b";
    records[1].name = "a";
    records[1].infoXml = "first";
    records[2].name = "B";
    records[3].name = "a";
    records[3].infoXml = "second";
    gmap::orderGmapRecords(records);
    std::vector<std::string> order;
    for (const auto& r : records) order.push_back(r.name + r.infoXml.string());
    EXPECT_EQ(order, (std::vector<std::string>{"B", "afirst", "asecond", "b"}));
}

}  // namespace
}  // namespace veldra
