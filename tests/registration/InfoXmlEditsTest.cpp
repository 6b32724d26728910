#include "registration/InfoXmlEdits.h"

#include <gtest/gtest.h>

namespace veldra {
namespace {

using registration::XmlEdit;

// Inserting into a package's descriptions is also run end to end by the type file tests.
TEST(InfoXmlEditsTest, TypElementIsReplacedInAnyCaseRemovedOnlyInCapitalsAndNeverInADamagedFile) {
    const auto lower = registration::attachTypInInfoXml("<ID>5</ID>\r\n<typ>old.typ</typ>\r\n<SubProduct>", "5.Typ");
    EXPECT_EQ(lower.state, XmlEdit::State::Changed);
    EXPECT_EQ(lower.text, "<ID>5</ID>\r\n<TYP>5.Typ</TYP>\r\n<SubProduct>\r\n");
    EXPECT_EQ(registration::attachTypInInfoXml("<Typ>a.typ</Typ><TYP>a.typ</TYP><TYP>b.typ</TYP>", "5.Typ").text,
              "<TYP>5.Typ</TYP><TYP>5.Typ</TYP><TYP>b.typ</TYP>\r\n");
    EXPECT_EQ(registration::attachTypInInfoXml("<TYP>open", "5.Typ").state, XmlEdit::State::Damaged);
    EXPECT_EQ(registration::attachTypInInfoV2("<Files><File id=\"TYP\">old.typ</File></Files>", "7.Typ").text,
              "<Files><File id=\"TYP\">7.Typ</File></Files>\r\n");

    const auto removed = registration::detachTypFromInfoXml("<ID>5</ID><TYP>5.Typ</TYP><SubProduct><TYP>5.Typ</TYP>");
    EXPECT_EQ(removed.state, XmlEdit::State::Changed);
    EXPECT_EQ(removed.text, "<ID>5</ID><SubProduct>\r\n");
    EXPECT_EQ(registration::detachTypFromInfoXml("<ID>5</ID><typ>5.Typ</typ>").state, XmlEdit::State::Unchanged);
    EXPECT_EQ(registration::detachTypFromInfoV2("<Files><File id=\"TYP\">5.Typ</File><File id=\"TDB\">a</File>").text,
              "<Files> <File id=\"TDB\">a</File>\r\n");
}

TEST(InfoXmlEditsTest, RenameChangesOnlyNameElementsAndDoesNotSearchTheNewName) {
    EXPECT_EQ(registration::renameInNameElements("<Name>Topo Topo</Name><TDB>Topo.tdb</TDB><Name>Topo</Name>", "Topo",
                                                 "Alp"),
              "<Name>Alp Alp</Name><TDB>Topo.tdb</TDB><Name>Alp</Name>");
    EXPECT_EQ(registration::renameInNameElements("<Name>topo</Name>", "Topo", "Alp"), "<Name>topo</Name>");
    EXPECT_EQ(registration::renameInNameElements("<Name>Topo", "Topo", "Alp"), "<Name>Topo");
    EXPECT_EQ(registration::renameInNameElements("<Name>Topo</Name><Name>Topo</Name>", "Topo", "<Name>Topo"),
              "<Name><Name>Topo</Name><Name><Name>Topo</Name>");
}

}  // namespace
}  // namespace veldra
