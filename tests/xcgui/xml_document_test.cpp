// XML documents through XmlLite: well-formed input becomes a tree, anything else an error.
#include <gtest/gtest.h>

#include "xcgui/src/xml_document.h"

namespace xcgui {
namespace {

TEST(XmlDocument, ReadsElementsAttributesAndTextInUtf8) {
  std::wstring error;
  auto root = ParseXml(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<window title=\"\xE5\x8A\xA9\xE6\x89\x8B\"><button name=\"a\"/><shapetext>x &amp; y</shapetext></window>",
      &error);
  ASSERT_TRUE(root) << std::string(error.begin(), error.end());
  EXPECT_EQ(root->name, L"window");
  ASSERT_TRUE(root->Attribute(L"title"));
  EXPECT_EQ(*root->Attribute(L"title"), L"\x52A9\x624B");
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(*root->children[0].Attribute(L"name"), L"a");
  EXPECT_EQ(root->children[1].text, L"x & y");
  EXPECT_EQ(root->Attribute(L"missing"), nullptr);
}

TEST(XmlDocument, RejectsMalformedDocuments) {
  const char* cases[] = {
      "",
      "<a><b></a>",
      "<a>",
      "<a></a><b></b>",
      "<a x=\"1\" x=\"2\"/>",
      "<a x=1/>",
      "text only",
      "<!DOCTYPE a [<!ENTITY e \"boom\">]><a>&e;</a>",
  };
  for (const char* text : cases) {
    std::wstring error;
    EXPECT_FALSE(ParseXml(text, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(XmlDocument, RefusesNestingBeyondTheLimit) {
  std::string deep;
  for (int i = 0; i < kMaxXmlDepth + 1; ++i) deep += "<e>";
  for (int i = 0; i < kMaxXmlDepth + 1; ++i) deep += "</e>";
  std::wstring error;
  EXPECT_FALSE(ParseXml(deep, &error));
  std::string fine;
  for (int i = 0; i < kMaxXmlDepth; ++i) fine += "<e>";
  for (int i = 0; i < kMaxXmlDepth; ++i) fine += "</e>";
  EXPECT_TRUE(ParseXml(fine, &error));
}

}  // namespace
}  // namespace xcgui
