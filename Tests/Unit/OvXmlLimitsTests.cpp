// Documents beyond what an element record can hold: depth (16 bits), start-tag length (22 bits)
// and end-tag length (10 bits). Such an element is left out of the index together with its
// content and the document is reported not well formed; nothing wraps around.

#include "OvXmlDocument.h"
#include "OvStringFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

OvString Text(const std::wstring& text) { return OvString(text.c_str(), static_cast<int>(text.size())); }

std::wstring Repeat(const wchar_t* piece, int count)
{
    std::wstring out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

std::string Narrow(const OvString& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i) out += static_cast<char>(text[i]);
    return out;
}

constexpr int kMaxLevel = 65535;

TEST(XmlLimitsTest, NestingUpToTheLevelFieldIsIndexed)
{
    OvXmlDocument doc{Text(Repeat(L"<a>", kMaxLevel) + Repeat(L"</a>", kMaxLevel))};
    EXPECT_TRUE(doc.IsWellFormed());
    EXPECT_TRUE(doc.GetResult().IsEmpty());
    ASSERT_EQ(doc.GetElementCount(), kMaxLevel + 1);
    const OvXmlElement deepest = doc.GetElementRecord(kMaxLevel);
    EXPECT_EQ(deepest.Level(), static_cast<uint32_t>(kMaxLevel));
    EXPECT_EQ(deepest.length, 7u);
}

TEST(XmlLimitsTest, NestingBeyondTheLevelFieldLeavesTheDeepPartOut)
{
    const int depth = kMaxLevel + 10;
    const std::wstring text = Repeat(L"<a>", depth) + L"deep" + Repeat(L"</a>", depth) + L"<!-- end -->";
    OvXmlDocument doc{Text(text)};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(Narrow(doc.GetResult()), Narrow(OvFormat(L"Element tag at offset %d nested too deeply", kMaxLevel * 3)));
    ASSERT_EQ(doc.GetElementCount(), kMaxLevel + 1);
    // Every indexed element is paired with its own end tag: the left-out ones pair among themselves.
    const OvXmlElement root = doc.GetElementRecord(1);
    EXPECT_EQ(root.End(), static_cast<uint32_t>(text.size() - 12));
    const OvXmlElement deepest = doc.GetElementRecord(kMaxLevel);
    EXPECT_EQ(deepest.Level(), static_cast<uint32_t>(kMaxLevel));
    EXPECT_FALSE(deepest.Has(OvXmlElement::kNotEnded));
    EXPECT_TRUE(deepest.Has(OvXmlElement::kIllFormed));
    EXPECT_EQ(deepest.length, static_cast<uint32_t>(3 + 10 * 7 + 4 + 4));
    EXPECT_TRUE(doc.GetElementText(kMaxLevel).IsEmpty());   // its content holds elements left out
}

// <r><a v="..."><c/></a><b/></r> with a start tag of the given length.
std::wstring WithLongStartTag(uint32_t tagLength)
{
    return L"<r><a v=\"" + std::wstring(tagLength - 8, L'x') + L"\"><c/></a><b/></r>";
}

TEST(XmlLimitsTest, StartTagAtTheLengthLimitIsIndexed)
{
    OvXmlDocument doc{Text(WithLongStartTag(OvXmlElement::kMaxStartTagLength))};
    EXPECT_TRUE(doc.IsWellFormed());
    ASSERT_TRUE(doc.FindElement(L"/r/a"));
    const int a = doc.GetCurrentElement();
    EXPECT_EQ(doc.GetElementRecord(a).StartTagLength(), OvXmlElement::kMaxStartTagLength);
    EXPECT_EQ(static_cast<uint32_t>(doc.GetAttribute(a, L"v").Length()), OvXmlElement::kMaxStartTagLength - 8);
    EXPECT_TRUE(doc.FindChildElement(L"c", true));
    EXPECT_TRUE(doc.FindElement(L"b"));
}

TEST(XmlLimitsTest, StartTagBeyondTheLengthLimitIsLeftOutWithItsContent)
{
    OvXmlDocument doc{Text(WithLongStartTag(OvXmlElement::kMaxStartTagLength + 1))};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(Narrow(doc.GetResult()), "Element tag at offset 3 too long");
    EXPECT_EQ(doc.GetElementCount(), 3);   // the document, r and b
    EXPECT_FALSE(doc.FindElement(L"//a"));
    EXPECT_FALSE(doc.FindElement(L"//c"));
    ASSERT_TRUE(doc.FindElement(L"/r/b"));
    const OvXmlElement r = doc.GetElementRecord(doc.GetParentElement());
    EXPECT_EQ(r.End(), static_cast<uint32_t>(doc.GetText().Length()));
    EXPECT_FALSE(r.Has(OvXmlElement::kNotEnded));
}

// <r><nnn>text</nnn></r> with an end tag of the given length.
std::wstring WithLongEndTag(uint32_t tagLength)
{
    const std::wstring name(tagLength - 3, L'n');
    return L"<r><" + name + L">text</" + name + L"></r>";
}

TEST(XmlLimitsTest, EndTagAtTheLengthLimitIsIndexed)
{
    OvXmlDocument doc{Text(WithLongEndTag(OvXmlElement::kMaxEndTagLength))};
    EXPECT_TRUE(doc.IsWellFormed());
    EXPECT_TRUE(doc.GetResult().IsEmpty());
    const OvXmlElement e = doc.GetElementRecord(2);
    EXPECT_EQ(e.EndTagLength(), OvXmlElement::kMaxEndTagLength);
    EXPECT_EQ(Narrow(doc.GetElementText(2)), "text");
}

TEST(XmlLimitsTest, EndTagBeyondTheLengthLimitLeavesItsElementNotEnded)
{
    const std::wstring text = WithLongEndTag(OvXmlElement::kMaxEndTagLength + 1);
    OvXmlDocument doc{Text(text)};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(Narrow(doc.GetResult()), Narrow(OvFormat(L"Element end tag at offset %d too long",
                                                       static_cast<int>(text.find(L"</")))));
    const OvXmlElement e = doc.GetElementRecord(2);
    EXPECT_TRUE(e.Has(OvXmlElement::kNotEnded));
    EXPECT_EQ(e.length, e.StartTagLength());
    EXPECT_TRUE(doc.GetElementText(2).IsEmpty());
    EXPECT_EQ(doc.GetElementRecord(1).End(), static_cast<uint32_t>(text.size()));
}

// Shapes that cost a naive pairing quadratic time; they must finish with a sound index.

TEST(XmlLimitsTest, ManyUnendedElementsMoveUpOnce)
{
    const int count = 60000;
    const std::wstring text = L"<r>" + Repeat(L"<x>", count) + L"</r>";
    OvXmlDocument doc{Text(text)};
    EXPECT_EQ(Narrow(doc.GetResult()),
              Narrow(OvFormat(L"End tag 'r' at offset %d does not match start tag 'x' at offset %d", 3 + count * 3,
                              count * 3)));
    ASSERT_EQ(doc.GetElementCount(), count + 2);
    for (int i = 2; i < count + 2; ++i) {
        const OvXmlElement x = doc.GetElementRecord(i);
        ASSERT_EQ(x.parent, 1u) << i;
        ASSERT_EQ(x.Level(), 2u) << i;
        ASSERT_TRUE(x.Has(OvXmlElement::kNotEnded)) << i;
        ASSERT_EQ(x.nextSibling, i + 1 < count + 2 ? static_cast<uint32_t>(i + 1) : 0u) << i;
    }
    EXPECT_EQ(doc.GetElementRecord(1).End(), static_cast<uint32_t>(text.size()));
}

TEST(XmlLimitsTest, LoneEndTagsOnADeepStack)
{
    const int depth = 60000, ends = 100000;
    const std::wstring text = L"<r>" + Repeat(L"<a>", depth) + Repeat(L"</b>", ends) + L"</r>";
    OvXmlDocument doc{Text(text)};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(Narrow(doc.GetResult()), Narrow(OvFormat(L"No start tag for end tag 'b' at offset %d", 3 + depth * 3)));
    ASSERT_EQ(doc.GetElementCount(), depth + 2);
    EXPECT_TRUE(doc.GetElementRecord(depth + 1).Has(OvXmlElement::kIllFormed));
    for (int i = 2; i < depth + 2; ++i) {
        const OvXmlElement a = doc.GetElementRecord(i);
        ASSERT_EQ(a.parent, 1u) << i;
        ASSERT_EQ(a.Level(), 2u) << i;
        ASSERT_EQ(a.length, 3u) << i;
    }
    EXPECT_EQ(doc.GetElementRecord(1).End(), static_cast<uint32_t>(text.size()));
}

}  // namespace
