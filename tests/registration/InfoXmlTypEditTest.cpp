#include <gtest/gtest.h>

#include "registration/InfoXmlEdits.h"

namespace veldra {
namespace {

using registration::XmlEdit;

TEST(InfoXmlTypEditTest, AttachReplacesTheElementInAnyCaseOrInsertsItBeforeTheFirstSubProduct) {
    const auto lower = registration::attachTypInInfoXml("<ID>5</ID>\r\n<typ>old.typ</typ>\r\n<SubProduct>", "5.Typ");
    EXPECT_EQ(lower.state, XmlEdit::State::Changed);
    EXPECT_EQ(lower.text, "<ID>5</ID>\r\n<TYP>5.Typ</TYP>\r\n<SubProduct>\r\n");

    const auto twice = registration::attachTypInInfoXml("<Typ>a.typ</Typ><TYP>a.typ</TYP><TYP>b.typ</TYP>", "5.Typ");
    EXPECT_EQ(twice.text, "<TYP>5.Typ</TYP><TYP>5.Typ</TYP><TYP>b.typ</TYP>\r\n");

    const auto none = registration::attachTypInInfoXml("<ID>5</ID>\r\n<SubProduct>1</SubProduct><SubProduct>2", "5.Typ");
    EXPECT_EQ(none.text, "<ID>5</ID>\r\n<TYP>5.Typ</TYP>\n<SubProduct>1</SubProduct><SubProduct>2\r\n");

    EXPECT_EQ(registration::attachTypInInfoXml("<TYP>open", "5.Typ").state, XmlEdit::State::Damaged);
}

TEST(InfoXmlTypEditTest, AttachInInfoV2) {
    EXPECT_EQ(registration::attachTypInInfoV2("<Files><File id=\"TYP\">old.typ</File></Files>", "7.Typ").text,
              "<Files><File id=\"TYP\">7.Typ</File></Files>\r\n");
    EXPECT_EQ(registration::attachTypInInfoV2("<Files>\r\n</Files>", "7.Typ").text,
              "<Files>\n<File id=\"TYP\">7.Typ</File>\n\r\n</Files>\r\n");
}

TEST(InfoXmlTypEditTest, DetachRemovesTheElementOrLeavesTheFileAlone) {
    const auto removed = registration::detachTypFromInfoXml("<ID>5</ID><TYP>5.Typ</TYP><SubProduct><TYP>5.Typ</TYP>");
    EXPECT_EQ(removed.state, XmlEdit::State::Changed);
    EXPECT_EQ(removed.text, "<ID>5</ID><SubProduct>\r\n");
    EXPECT_EQ(registration::detachTypFromInfoXml("<ID>5</ID><typ>5.Typ</typ>").state, XmlEdit::State::Unchanged);
    EXPECT_EQ(registration::detachTypFromInfoV2("<Files><File id=\"TYP\">5.Typ</File><File id=\"TDB\">a</File>").text,
              "<Files> <File id=\"TDB\">a</File>\r\n");
    EXPECT_EQ(registration::detachTypFromInfoV2("<Files></Files>").text, "<Files></Files>\r\n");
}

}  // namespace
}  // namespace veldra
