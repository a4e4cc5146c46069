#include "OvPropertyMap.h"
#include "OvPropertyMapTestSupport.h"
#include "OvXmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// ---- Tagged property text ------------------------------------------------------------------

OvString Saved(const OvPropertyMap& map, const wchar_t* tag = L"XMLPH", bool emptyWhenNoItems = false,
               double version = 1.0)
{
    OvString text = L"stale";
    map.SaveXML(text, tag, emptyWhenNoItems, version);
    return text;
}

TEST(OvPropertyMapXml, SavesTheOpeningLineOneLinePerItemAndTheClosingTag)
{
    OvPropertyMap map;
    map.SetString(L"LibraryPath", L"C:\\Music");
    const OvString text = Saved(map);
    EXPECT_EQ(text, L"<XMLPH version=\"1.0\">\r\n<Item Name=\"LibraryPath\">C:\\Music</Item>\r\n</XMLPH>");

    OvPropertyMap back;
    EXPECT_TRUE(back.LoadXML(text, L"XMLPH", 1.0));
    EXPECT_TRUE(back.IsEqual(map));
    EXPECT_FALSE(back.LoadXML(text, L"XMLPH", 2.0));
    EXPECT_EQ(back.GetTable(), nullptr);
    EXPECT_FALSE(back.LoadXML(text, L"Settings", 1.0));
    EXPECT_EQ(back.GetTable(), nullptr);
}

TEST(OvPropertyMapXml, ItemsFollowTheIterationOrderAndEmptyValuesCloseThemselves)
{
    OvPropertyMap map;
    map.SetString(L"h", L"1");
    map.SetString(L"a", L"");
    map.SetString(L"b", L"3");
    EXPECT_EQ(Saved(map, L"Settings", true, 10.5),
              L"<Settings version=\"10.5\">\r\n"
              L"<Item Name=\"b\">3</Item>\r\n"
              L"<Item Name=\"h\">1</Item>\r\n"
              L"<Item Name=\"a\"/>\r\n"
              L"</Settings>");
    OvPropertyMap back;
    EXPECT_TRUE(back.LoadXML(Saved(map, L"Settings", true, 10.5), L"Settings", 10.5));
    EXPECT_EQ(Serialized(back), Serialized(map));
}

TEST(OvPropertyMapXml, EmptyMapWritesNothingOrJustTheRoot)
{
    OvPropertyMap map;
    EXPECT_EQ(Saved(map, L"XMLPH", true), L"");
    EXPECT_EQ(Saved(map, L"XMLPH", false), L"<XMLPH version=\"1.0\">\r\n</XMLPH>");
    EXPECT_EQ(Saved(map, L"XMLPH", false, 2), L"<XMLPH version=\"2.0\">\r\n</XMLPH>");
    OvPropertyMap back;
    back.SetString(L"stale", L"x");
    EXPECT_TRUE(back.LoadXML(Saved(map), L"XMLPH", 1.0));
    EXPECT_EQ(back.GetTable(), nullptr);
    back.SetString(L"stale", L"x");
    EXPECT_TRUE(back.LoadXML(L"", L"XMLPH", 1.0));
    EXPECT_EQ(back.GetTable(), nullptr);
}

TEST(OvPropertyMapXml, KeysAndValuesAreEscapedAndReadBackUnchanged)
{
    OvPropertyMap map;
    map.SetString(L"say \"hi\" & 'bye'", L"<a> & <b>");
    EXPECT_EQ(Saved(map),
              L"<XMLPH version=\"1.0\">\r\n"
              L"<Item Name=\"say &quot;hi&quot; &amp; &apos;bye&apos;\">&lt;a&gt; &amp; &lt;b&gt;</Item>\r\n"
              L"</XMLPH>");
    map.SetString(L"quote", L"\"it's\"");
    map.SetString(L"lines", L"one\r\ntwo\tthree");
    map.SetString(L"unicode \u00E9\u4E2D", L"\u20AC \uFFFD");
    map.SetString(L"control one", L"\u0001");
    map.SetString(L"entity text", L"&amp; &#65;");
    OvPropertyMap back;
    ASSERT_TRUE(back.LoadXML(Saved(map), L"XMLPH", 1.0));
    EXPECT_TRUE(back.IsEqual(map));

    // Other control characters cannot be written and become '?'.
    OvPropertyMap control;
    control.SetString(L"c", L"a\u0002b");
    EXPECT_EQ(Saved(control), L"<XMLPH version=\"1.0\">\r\n<Item Name=\"c\">a?b</Item>\r\n</XMLPH>");
}

TEST(OvPropertyMapXml, WriteItemsAndReadItemsWorkAtTheDocumentsCursor)
{
    OvXmlDocument document(OvString(L"<Plugin><Name>x</Name><Item Name=\"old\">0</Item></Plugin>"));
    ASSERT_TRUE(document.FindElement(L"/Plugin/Name"));
    OvPropertyMap map;
    map.SetString(L"h", L"1");
    map.SetString(L"b", L"");
    map.WriteItems(document);
    EXPECT_EQ(document.GetText(),
              L"<Plugin><Name>x</Name><Item Name=\"b\"/>\r\n<Item Name=\"h\">1</Item>\r\n"
              L"<Item Name=\"old\">0</Item></Plugin>");

    // The cursor stands on the last written Item: every Item of the parent is read all the same.
    OvPropertyMap read;
    read.SetString(L"stale", L"x");
    read.ReadItems(document);
    EXPECT_EQ(Serialized(read), L"(1:3)(1:b)(0:)(3:old)(1:0)(1:h)(1:1)");

    // Items of another parent are not read.
    OvXmlDocument nested(OvString(L"<Root><Group><Item Name=\"a\">1</Item></Group><Item Name=\"b\">2</Item></Root>"));
    ASSERT_TRUE(nested.FindElement(L"/Root/Group"));
    nested.EnterElement();
    read.ReadItems(nested);
    EXPECT_EQ(Serialized(read), L"(1:1)(1:a)(1:1)");
}

struct LoadCase {
    const char* name;
    const wchar_t* text;
    bool loaded;
    const wchar_t* items;   // the map read, serialised
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class OvPropertyMapLoadXml : public testing::TestWithParam<LoadCase> {};

TEST_P(OvPropertyMapLoadXml, AcceptsWellFormedTextsAndRejectsMalformedOnes)
{
    const LoadCase& c = GetParam();
    OvPropertyMap map;
    map.SetString(L"stale", L"x");
    EXPECT_EQ(map.LoadXML(c.text, L"XMLPH", 1.0), c.loaded);
    EXPECT_EQ(Serialized(map), c.items);
}

// "a" lies in bucket 6 of 7, "b" in 0, the empty key in 0.
INSTANTIATE_TEST_SUITE_P(
    Texts, OvPropertyMapLoadXml,
    testing::Values(
        LoadCase{"CommaVersion", L"<XMLPH version=\"1,0\"><Item Name=\"a\">1</Item></XMLPH>", true, L"(1:1)(1:a)(1:1)"},
        LoadCase{"WholeVersion", L"<XMLPH version=\"1\"><Item Name=\"a\">1</Item></XMLPH>", true, L"(1:1)(1:a)(1:1)"},
        LoadCase{"ApostropheQuotes", L"<XMLPH version='1.0'><Item Name='a'>1</Item></XMLPH>", true, L"(1:1)(1:a)(1:1)"},
        LoadCase{"OtherLetterCase", L"<xmlph VERSION=\"1.0\"><item name=\"A\">1</ITEM></XMLph>", true, L"(1:1)(1:A)(1:1)"},
        LoadCase{"DeclarationAndComments",
                 L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- settings -->\r\n<XMLPH version=\"1.0\">"
                 L"<!-- one --><Item Name=\"a\">x<!-- between -->y</Item></XMLPH>\r\n",
                 true, L"(1:1)(1:a)(2:xy)"},
        LoadCase{"CDataAndReferences",
                 L"<XMLPH version=\"1.0\"><Item Name=\"a\"><![CDATA[<&>]]></Item>"
                 L"<Item Name=\"&#98;\">&#65;&#x42;&lt;</Item></XMLPH>",
                 true, L"(1:2)(1:b)(3:AB<)(1:a)(3:<&>)"},
        LoadCase{"OtherAttributesAndElements",
                 L"<XMLPH version=\"1.0\" writer=\"x\"><Other Name=\"b\">2</Other>"
                 L"<Item id=\"7\" Name=\"a\" >1</Item></XMLPH>",
                 true, L"(1:1)(1:a)(1:1)"},
        LoadCase{"SelfClosingRoot", L"<XMLPH version=\"1.0\"/>", true, L"(1:0)"},
        LoadCase{"LaterDuplicateReplaces",
                 L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</Item><Item Name=\"A\">2</Item></XMLPH>", true,
                 L"(1:1)(1:a)(1:2)"},
        LoadCase{"ItemWithoutName", L"<XMLPH version=\"1.0\"><Item>v</Item></XMLPH>", true, L"(1:1)(0:)(1:v)"},
        LoadCase{"ItemWithChildren",
                 L"<XMLPH version=\"1.0\"><Item Name=\"a\">1<Item Name=\"b\">2</Item></Item></XMLPH>", true,
                 L"(1:1)(1:a)(0:)"},
        LoadCase{"OtherVersion", L"<XMLPH version=\"1.1\"><Item Name=\"a\">1</Item></XMLPH>", false, L"(1:0)"},
        LoadCase{"NoVersion", L"<XMLPH><Item Name=\"a\">1</Item></XMLPH>", false, L"(1:0)"},
        LoadCase{"OtherRoot", L"<Settings version=\"1.0\"><Item Name=\"a\">1</Item></Settings>", false, L"(1:0)"},
        LoadCase{"Blank", L"  \r\n", false, L"(1:0)"},
        LoadCase{"PlainText", L"LibraryPath=C:\\Music", false, L"(1:0)"},
        LoadCase{"Truncated", L"<XMLPH version=\"1.0\">\r\n<Item Name=\"a\">1</Item>\r\n", false, L"(1:0)"},
        LoadCase{"TruncatedInItem", L"<XMLPH version=\"1.0\">\r\n<Item Name=\"a\">1</It", false, L"(1:0)"},
        LoadCase{"ItemNotEnded", L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</XMLPH>", false, L"(1:0)"},
        LoadCase{"StrayEndTag", L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</Item></Other></XMLPH>", false, L"(1:0)"},
        LoadCase{"SecondRoot",
                 L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</Item></XMLPH><XMLPH version=\"1.0\"/>", false,
                 L"(1:0)"},
        LoadCase{"BadTagCharacter", L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</Item>< x/></XMLPH>", false,
                 L"(1:0)"}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

}  // namespace
