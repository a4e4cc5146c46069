#include "OvXmlDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Narrow(const OvString& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i) out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    return out;
}

// The index of an edited document must be the one a fresh parse of its text builds (record
// numbers aside): compared element by element in document order.
std::string SameAsFreshParse(const OvXmlDocument& edited)
{
    OvXmlDocument fresh(edited.GetText());
    if (fresh.GetElementCount() != edited.GetElementCount()) return "element count differs";
    if (fresh.IsWellFormed() != edited.IsWellFormed()) return "well-formed flag differs";
    auto next = [](const OvXmlDocument& doc, uint32_t index) {
        const OvXmlElement e = doc.GetElementRecord(static_cast<int>(index));
        if (e.firstChild) return e.firstChild;
        for (; index; index = doc.GetElementRecord(static_cast<int>(index)).parent)
            if (const uint32_t n = doc.GetElementRecord(static_cast<int>(index)).nextSibling) return n;
        return 0u;
    };
    uint32_t a = 0, b = 0;
    for (int n = 0; n < fresh.GetElementCount(); ++n) {
        const OvXmlElement x = edited.GetElementRecord(static_cast<int>(a)), y = fresh.GetElementRecord(static_cast<int>(b));
        const std::string where = "element at offset " + std::to_string(y.offset) + ": ";
        if (x.offset != y.offset || x.length != y.length) return where + "offset or length differs";
        if (x.tagLengths != y.tagLengths) return where + "tag lengths differ";
        if (x.levelFlags != y.levelFlags) return where + "level or flags differ";
        if ((x.firstChild == 0) != (y.firstChild == 0) || (x.nextSibling == 0) != (y.nextSibling == 0))
            return where + "links differ";
        a = next(edited, a);
        b = next(fresh, b);
    }
    return a == 0 && b == 0 ? "" : "walks end differently";
}

TEST(XmlWriterTest, ItemsOfATaggedPropertyText)
{
    OvXmlDocument doc;
    ASSERT_TRUE(doc.AddElement(L"Item", L"C:\\Music"));
    ASSERT_TRUE(doc.SetAttribute(doc.GetCurrentElement(), L"Name", L"LibraryPath"));
    ASSERT_TRUE(doc.AddElement(L"Item", L""));
    ASSERT_TRUE(doc.SetAttribute(doc.GetCurrentElement(), L"Name", L"Empty"));
    ASSERT_TRUE(doc.AddElement(L"Item", L"a < b & c > d \"q\" 'a'"));
    ASSERT_TRUE(doc.SetAttribute(doc.GetCurrentElement(), L"Name", L"say \"hi\" & 'bye' <x>"));
    EXPECT_EQ(Narrow(doc.GetText()),
              "<Item Name=\"LibraryPath\">C:\\Music</Item>\r\n"
              "<Item Name=\"Empty\"/>\r\n"
              "<Item Name=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;x&gt;\">a &lt; b &amp; c &gt; d \"q\" 'a'</Item>\r\n");
    EXPECT_TRUE(doc.IsChanged());
    EXPECT_EQ(SameAsFreshParse(doc), "");

    // Read back through the index the edits kept.
    ASSERT_TRUE(doc.GetTextAtPath(L"Item[3]").Length() > 0);
    EXPECT_EQ(Narrow(doc.GetElementText()), "a < b & c > d \"q\" 'a'");
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetCurrentElement(), L"name")), "say \"hi\" & 'bye' <x>");
    ASSERT_TRUE(doc.FindElement(L"/Item[2]"));
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetCurrentElement(), L"Name")), "Empty");
}

TEST(XmlWriterTest, SetAttributeReplacesEveryFormAndAddsBeforeTheEndOfTheTag)
{
    OvXmlDocument doc{OvString(L"<r a='x' b=y c><e/><f x=1/><g/></r>")};
    EXPECT_FALSE(doc.IsChanged());
    ASSERT_TRUE(doc.FindElement(L"/r"));
    const int r = doc.GetCurrentElement();
    ASSERT_TRUE(doc.SetAttribute(r, L"A", L"new"));
    ASSERT_TRUE(doc.SetAttribute(r, L"b", L"v"));
    ASSERT_TRUE(doc.SetAttribute(r, L"c", L"w"));
    ASSERT_TRUE(doc.SetAttribute(r, L"d", L""));
    ASSERT_TRUE(doc.FindChildElement(L"e", true));
    ASSERT_TRUE(doc.SetAttribute(doc.GetChildElement(), L"n", L"1"));
    ASSERT_TRUE(doc.FindChildElement(L"f", true));
    ASSERT_TRUE(doc.SetAttribute(doc.GetChildElement(), L"n", L"2"));
    EXPECT_EQ(Narrow(doc.GetText()), "<r a=\"new\" b=\"v\" c=\"w\" d=\"\"><e n=\"1\"/><f x=1 n=\"2\"/><g/></r>");
    EXPECT_TRUE(doc.IsChanged());
    EXPECT_EQ(SameAsFreshParse(doc), "");
    ASSERT_TRUE(doc.FindChildElement(L"g", true));   // the index still leads to the last child

    for (const wchar_t* bad : {L"", L"a b", L"a=b", L"a>", L"a/", L"a\"", L"<a"})
        EXPECT_FALSE(doc.SetAttribute(r, bad, L"v")) << Narrow(OvString(bad));
    EXPECT_FALSE(doc.SetAttribute(0, L"x", L"v"));
    EXPECT_FALSE(doc.SetAttribute(99, L"x", L"v"));
}

TEST(XmlWriterTest, AddElementAfterTheCurrentOrFirstInTheParent)
{
    OvXmlDocument doc{OvString(L"<r>\r\n  <a>1</a>  \r\n  <b/>\r\n</r>")};
    ASSERT_TRUE(doc.FindElement(L"/r/a"));
    ASSERT_TRUE(doc.AddElement(L"after", L"x"));   // after a and the white space that follows it
    EXPECT_EQ(Narrow(doc.GetTagName()), "after");
    ASSERT_TRUE(doc.FindElement(L"/r"));
    ASSERT_TRUE(doc.EnterElement());   // no child position: no current element
    ASSERT_TRUE(doc.AddElement(L"first", L""));
    EXPECT_EQ(Narrow(doc.GetText()), "<r><first/>\r\n\r\n  <a>1</a>  \r\n  <after>x</after>\r\n<b/>\r\n</r>");
    EXPECT_EQ(SameAsFreshParse(doc), "");
    ASSERT_TRUE(doc.FindElement(L"a"));

    // Text right after the current element: the new element goes directly behind it.
    OvXmlDocument text{OvString(L"<r><a/>tail</r>")};
    ASSERT_TRUE(text.FindElement(L"/r/a"));
    ASSERT_TRUE(text.AddElement(L"n", L""));
    EXPECT_EQ(Narrow(text.GetText()), "<r><a/><n/>\r\ntail</r>");
    EXPECT_EQ(SameAsFreshParse(text), "");
}

TEST(XmlWriterTest, AddElementRefusesWhatItCannotWrite)
{
    OvXmlDocument doc{OvString(L"<r><empty/><open></r>")};
    const OvString before = doc.GetText();
    for (const wchar_t* bad : {L"", L"1a", L"a b", L"a>", L"a/b", L"a<b", L"a&b", L"-a"})
        EXPECT_FALSE(doc.AddElement(bad, L"x")) << Narrow(OvString(bad));
    EXPECT_FALSE(doc.AddElement(std::wstring(1021, L'n').c_str(), L"x"));   // its end tag would not fit

    ASSERT_TRUE(doc.FindElement(L"/r/empty"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.AddElement(L"child", L"x"));   // an empty element has no content
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindElement(L"open"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.AddElement(L"child", L"x"));   // nor has an element that is not ended
    EXPECT_EQ(doc.GetText(), before);
    EXPECT_FALSE(doc.IsChanged());
}

// Random edits on generated documents keep the index a fresh parse would build.
TEST(XmlWriterTest, RandomEditsKeepTheIndex)
{
    std::mt19937 random(99991);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const wchar_t* const names[] = {L"Item", L"a", L"Name", L"x"};
    static const wchar_t* const values[] = {L"", L"v", L"<&>\"'", L"long value with blanks"};
    for (int n = 0; n < 300; ++n) {
        OvXmlDocument doc{OvString(L"<?xml version=\"1.0\"?>\r\n<r>\r\n  <a x='1'>t</a>\r\n  <b>\r\n    <c/>\r\n"
                                   L"  </b>\r\n  text\r\n  <d y=2/>\r\n</r>\r\n")};
        for (int op = 0; op < 12; ++op) {
            switch (pick(5)) {
            case 0: doc.FindElement(pick(2) ? L"//*" : nullptr); break;
            case 1: doc.EnterElement(); break;
            case 2: doc.LeaveElement(); break;
            case 3: doc.AddElement(names[pick(4)], values[pick(4)]); break;
            default: doc.SetAttribute(pick(doc.GetElementCount()), names[pick(4)], values[pick(4)]); break;
            }
            ASSERT_EQ(SameAsFreshParse(doc), "") << "document " << n << ", edit " << op << ": " << Narrow(doc.GetText());
        }
    }
}

}  // namespace
