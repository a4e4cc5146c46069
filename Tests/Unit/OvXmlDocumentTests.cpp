#include "OvXmlDocument.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const OvString& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i) out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    return out;
}

// Parsing: well-formed flag, first-problem message, and the elements that are still found.

struct ParseCase {
    const char* name;
    const wchar_t* text;
    bool wellFormed;
    const wchar_t* result;
    std::vector<const wchar_t*> found;   // each must be found by "//name" from the start
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class XmlParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(XmlParseTest, ReportsFlagMessageAndKeepsWhatItRecognised)
{
    const ParseCase& c = GetParam();
    OvXmlDocument doc{OvString(c.text)};
    EXPECT_EQ(doc.IsWellFormed(), c.wellFormed);
    EXPECT_EQ(Narrow(doc.GetResult()), Narrow(c.result));
    for (const wchar_t* name : c.found) {
        OvXmlDocument fresh{OvString(c.text)};
        const std::wstring path = std::wstring(L"//") + name;
        ASSERT_TRUE(fresh.FindElement(path.c_str())) << Narrow(OvString(name));
        EXPECT_TRUE(fresh.GetTagName().EqualsNoCase(name)) << Narrow(fresh.GetTagName());
    }
}

const ParseCase kParseCases[] = {
    {"WellFormedWithEveryNodeKind",
     L"<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA \"x>y\">]>\r\n"
     L"<r a=\"1>2\" b='<'><!-- c --><b>t</b><![CDATA[x<y]]><?pi d?><c/>text</r>\r\n",
     true, L"", {L"r", L"b", L"c"}},
    {"EmptyText", L"", false, L"Empty document", {}},
    {"WhiteSpaceOnly", L" \r\n\t", false, L"No root element", {}},
    {"TextOnly", L"plain text", false, L"No root element", {}},
    {"CommentOnly", L"<!-- nothing -->", false, L"No root element", {}},
    {"TwoTopLevelElements", L"<a/>\r\n<b></b>", false, L"Root element has sibling", {L"a", L"b"}},
    {"EndTagClosesOuterElement", L"<A><B></A>", true,
     L"End tag 'A' at offset 6 does not match start tag 'B' at offset 3", {L"A", L"B"}},
    {"EndTagWithoutStartTag", L"<A></B></A>", false, L"No start tag for end tag 'B' at offset 3", {L"A"}},
    {"NamesPairIgnoringCase", L"<Settings></SETTINGS>", true, L"", {L"settings"}},
    {"RootNotEndedWithChildren", L"<a><b>x</b>", false, L"Root element has sibling", {L"a", L"b"}},
    {"RootNotEndedAlone", L"<a>", true, L"Element 'a' at offset 0 not ended", {L"a"}},
    {"AttributeQuoteNeverCloses", L"<r><a b=\"1></a><c/></r>", false, L"Element tag at offset 3 unterminated",
     {L"r"}},
    {"AttributeWithoutQuotesIsAccepted", L"<r><a b=1 c d = 'x'/></r>", true, L"", {L"r", L"a"}},
    {"CommentWithOneDash", L"<r><!-x--><a/></r>", false, L"Incorrect comment tag at offset 3", {L"r", L"a"}},
    {"CommentUnterminated", L"<r><!-- x </r>", false, L"Comment at offset 3 unterminated", {L"r"}},
    {"CDataMarkerWrong", L"<r><![cdata[x]]><a/></r>", false, L"Incorrect tag at offset 3", {L"r", L"a"}},
    {"CDataUnterminated", L"<r><![CDATA[x</r>", false, L"CDATA Section at offset 3 unterminated", {L"r"}},
    {"CDataClosedInsideItsOpeningMarker", L"<r><![C]]></r>", false, L"CDATA Section at offset 3 unterminated", {L"r"}},
    {"CommentClosedInsideItsOpeningMarker", L"<r><!-->x</r>", false, L"Comment at offset 3 unterminated", {L"r"}},
    {"ProcessingInstructionClosedInsideItsOpeningMarker", L"<r><?></r>", false,
     L"Processing instruction at offset 3 unterminated", {L"r"}},
    {"ProcessingInstructionUnterminated", L"<r><?pi x</r>", false,
     L"Processing instruction at offset 3 unterminated", {L"r"}},
    {"DocumentTypeWithCommentInside", L"<!DOCTYPE r [<!-- c -->]><r/>", true, L"Incorrect ! tag at offset 0",
     {L"r"}},
    {"DocumentTypeUnterminated", L"<r/><!DOCTYPE r [<!ELEMENT r", false, L"Doctype at offset 4 unterminated",
     {L"r"}},
    {"DeclarationOutsideDocumentType", L"<r><!ELEMENT x><a/></r>", false, L"", {L"r", L"a"}},
    {"UnknownBangTag", L"<r><!x><a/></r>", false, L"Incorrect ! tag at offset 3", {L"r", L"a"}},
    {"BadNameCharacter", L"<r><1/><a/></r>", false, L"Incorrect tag name character at offset 3", {L"r", L"a"}},
    {"LessThanAtTheEnd", L"<r></r><", false, L"tag at offset 7 unterminated", {L"r"}},
    {"EndTagUnterminated", L"<r></r", false, L"Element end tag at offset 3 unterminated", {L"r"}},
    {"StartTagUnterminated", L"<r><b", false, L"Element tag at offset 3 unterminated", {L"r"}},
    {"FirstProblemIsKept", L"<r></x><!y></r", false, L"No start tag for end tag 'x' at offset 3", {L"r"}},
    {"TextBeforeAndAfterRoot", L"junk<r/>junk", true, L"", {L"r"}},
};

INSTANTIATE_TEST_SUITE_P(Documents, XmlParseTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The element index after faults.

TEST(XmlIndexTest, ElementNotEndedIsCutBackAndItsChildrenMoveUp)
{
    // <r> <a> <b/> <c><d/></c> </r>: a is not ended; b and c follow it as children of r.
    OvXmlDocument doc{OvString(L"<r><a><b/><c><d/></c></r>")};
    ASSERT_EQ(doc.GetElementCount(), 6);
    const OvXmlElement r = doc.GetElementRecord(1), a = doc.GetElementRecord(2), b = doc.GetElementRecord(3),
                       c = doc.GetElementRecord(4), d = doc.GetElementRecord(5);
    EXPECT_EQ(r.length, 25u);
    EXPECT_EQ(r.EndTagLength(), 4u);
    EXPECT_EQ(a.offset, 3u);
    EXPECT_EQ(a.length, 3u);
    EXPECT_TRUE(a.Has(OvXmlElement::kNotEnded));
    EXPECT_EQ(a.firstChild, 0u);
    EXPECT_EQ(a.nextSibling, 3u);
    EXPECT_EQ(b.parent, 1u);
    EXPECT_EQ(c.parent, 1u);
    EXPECT_EQ(b.Level(), 2u);
    EXPECT_EQ(c.Level(), 2u);
    EXPECT_EQ(d.Level(), 3u);   // the moved subtree keeps its depth relative to its new place
    EXPECT_FALSE(b.Has(OvXmlElement::kFirstChild));
    EXPECT_TRUE(a.Has(OvXmlElement::kFirstChild));
    EXPECT_EQ(a.previousSibling, 4u);   // a first child points at the last child
    EXPECT_EQ(c.nextSibling, 0u);
    EXPECT_EQ(Narrow(doc.GetResult()), "End tag 'r' at offset 21 does not match start tag 'a' at offset 3");
}

TEST(XmlIndexTest, LoneEndTagFlagsTheOpenElementIllFormed)
{
    OvXmlDocument doc{OvString(L"<r><a></x></a></r>")};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_TRUE(doc.GetElementRecord(2).Has(OvXmlElement::kIllFormed));
    EXPECT_FALSE(doc.GetElementRecord(1).Has(OvXmlElement::kIllFormed));
    EXPECT_TRUE(doc.GetElementRecord(0).Has(OvXmlElement::kDocumentNotWellFormed));
    EXPECT_EQ(doc.GetElementRecord(2).length, 11u);   // a still closes normally
}

TEST(XmlIndexTest, EmptyConstructionAndDocumentRecord)
{
    OvXmlDocument empty;
    EXPECT_EQ(Narrow(empty.GetResult()), "Empty document");
    EXPECT_FALSE(empty.IsWellFormed());
    EXPECT_FALSE(empty.FindElement(L"//a"));

    OvXmlDocument doc{OvString(L" <r/> ")};
    const OvXmlElement document = doc.GetElementRecord(0);
    EXPECT_EQ(document.offset, 0u);
    EXPECT_EQ(document.length, 6u);
    EXPECT_EQ(document.firstChild, 1u);
    EXPECT_EQ(doc.GetElementRecord(1).Level(), 1u);
    EXPECT_EQ(doc.GetElementRecord(7).length, 0u);   // out of range: all zero
}

// Element text.

struct TextCase {
    const char* name;
    const wchar_t* document;
    const wchar_t* text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class XmlElementTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(XmlElementTextTest, TextOfTheFirstElementFound)
{
    OvXmlDocument doc{OvString(GetParam().document)};
    ASSERT_TRUE(doc.FindElement(L"//t"));
    EXPECT_EQ(std::wstring(doc.GetElementText().c_str()), std::wstring(GetParam().text));
}

const TextCase kTextCases[] = {
    {"AmpersandReferenceDecodedOnce", L"<t>a &amp;amp; b</t>", L"a &amp; b"},
    {"NamedReferencesAreCaseSensitive", L"<t>&lt;&gt;&quot;&apos;&AMP;&Lt;</t>", L"<>\"'&AMP;&Lt;"},
    {"NumericReferences", L"<t>&#65;&#x42;&#X43;&#0067;</t>", L"AB&#X43;C"},
    {"ReferenceOfZeroStays", L"<t>&#0;&#x0;&#65536;</t>", L"&#0;&#x0;&#65536;"},
    {"ReferenceValueKeepsLow16Bits", L"<t>&#x10041;</t>", L"A"},
    {"ReferenceWithoutSemicolonStays", L"<t>&#65 &amp</t>", L"&#65 &amp"},
    {"ReferenceTooLongStays", L"<t>&#00000065;&#0000065;</t>", L"&#00000065;A"},
    {"ReferenceAtTheVeryEnd", L"<t>x&</t>", L"x&"},
    {"CommentBetweenTextPiecesIsSkipped", L"<t>one <!-- two --> three</t>", L"one  three"},
    {"CDataIsTakenAsItIs", L"<t>a<![CDATA[<&amp;>]]>b</t>", L"a<&amp;>b"},
    {"ProcessingInstructionSkipped", L"<t>a<?pi x?>b</t>", L"ab"},
    {"ElementWithChildrenHasNoText", L"<t>a<b/>c</t>", L""},
    {"EmptyElementHasNoText", L"<t/>", L""},
    {"ElementNotEndedHasNoText", L"<r><t>abc</r>", L""},
    {"WhiteSpaceKept", L"<t> \r\n </t>", L" \r\n "},
};

INSTANTIATE_TEST_SUITE_P(Contents, XmlElementTextTest, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Attributes.

TEST(XmlAttributeTest, ValuesByNameInEveryForm)
{
    OvXmlDocument doc{OvString(L"<r x=\"1\" Y='2' z=3 w = \"4\" flag q=\"a&amp;b&#33;\" dup=\"first\" dup=\"second\" "
                               L"s='\"' d=\"'\" gt=\"a>b\"/>")};
    ASSERT_TRUE(doc.FindElement(L"/r"));
    const int r = doc.GetCurrentElement();
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"x", L"1"},     {L"y", L"2"},     {L"Z", L"3"},     {L"w", L"4"},   {L"flag", L""},   {L"q", L"a&b!"},
        {L"dup", L"first"}, {L"s", L"\""},  {L"d", L"'"},     {L"gt", L"a>b"}, {L"missing", L""}, {L"a", L""},
    };
    for (const auto& e : expected)
        EXPECT_EQ(std::wstring(doc.GetAttribute(r, e.first).c_str()), e.second) << Narrow(OvString(e.first));
    EXPECT_TRUE(doc.GetAttribute(0, L"x").IsEmpty());
    EXPECT_TRUE(doc.GetAttribute(99, L"x").IsEmpty());
}

TEST(XmlAttributeTest, SlashOrQuestionMarkEndsTheAttributes)
{
    OvXmlDocument doc{OvString(L"<r><a / x=\"1\"/><b ? y=\"2\"/></r>")};
    ASSERT_TRUE(doc.FindElement(L"/r/a"));
    EXPECT_TRUE(doc.GetAttribute(doc.GetCurrentElement(), L"x").IsEmpty());
    ASSERT_TRUE(doc.FindElement(L"b"));
    EXPECT_TRUE(doc.GetAttribute(doc.GetCurrentElement(), L"y").IsEmpty());
}

// Paths and navigation.

const wchar_t kPackages[] =
    L"<?xml version=\"1.0\"?>\r\n"
    L"<Root>\r\n"
    L"  <Package name=\"one\">\r\n"
    L"    <Action id=\"1\">first</Action>\r\n"
    L"    <Action id=\"2\">second</Action>\r\n"
    L"    <Note/>\r\n"
    L"  </Package>\r\n"
    L"  <Package name=\"two\" special>\r\n"
    L"    <Action id=\"3\">third</Action>\r\n"
    L"    <Item>i1</Item>\r\n"
    L"  </Package>\r\n"
    L"  <Item>i2</Item>\r\n"
    L"  <PackageList>list</PackageList>\r\n"
    L"</Root>\r\n";

struct PathCase {
    const char* name;
    const wchar_t* path;
    const wchar_t* text;   // null: not found
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class XmlPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(XmlPathTest, TextAtPathFromAFreshDocument)
{
    const PathCase& c = GetParam();
    OvXmlDocument doc{OvString(kPackages)};
    const OvString text = doc.GetTextAtPath(c.path);
    if (!c.text) {
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_EQ(doc.GetCurrentElement(), 0);
        return;
    }
    EXPECT_EQ(std::wstring(text.c_str()), std::wstring(c.text));
    EXPECT_NE(doc.GetCurrentElement(), 0);
}

const PathCase kPathCases[] = {
    {"AnyRoot", L"/*/Package/Action", L"first"},
    {"NamedRoot", L"/Root/Package/Action", L"first"},
    {"OtherLetterCase", L"/ROOT/package/ACTION", L"first"},
    {"OtherRoot", L"/Other/Package/Action", nullptr},
    {"PositionOnLastStep", L"/*/Package/Action[2]", L"second"},
    {"PositionBeyondTheSiblings", L"/*/Package/Action[3]", nullptr},
    {"PositionOnMiddleStep", L"/*/Package[2]/Action", L"third"},
    {"PositionWithManyDigits", L"/*/Package/Action[0002]", nullptr},
    {"PositionZeroIsAName", L"/*/Package[0]", nullptr},
    {"PositionNotClosedDirectly", L"/*/Package[2x]/Action", nullptr},
    {"PredicateNeverClosed", L"/*/Package[2", nullptr},
    {"AttributePredicate", L"/*/Package[@special]/Action", L"third"},
    {"AttributePredicateIgnoresTheValue", L"/*/Package[@name='two']/Action", L"first"},
    {"ChildPredicate", L"/*/Package[Item]/Action", L"third"},
    {"PrefixOfANameDoesNotMatch", L"/*/Pack/Action", nullptr},
    {"LongerNameDoesNotMatch", L"/*/PackageList", L"list"},
    {"NoBacktrackingAfterAMatchedStep", L"/*/Package/Item", nullptr},
    {"DescendantFromTheStart", L"//Item", L"i1"},
    {"DescendantInOtherLetterCase", L"//ITEM", L"i1"},
    {"DescendantWithFurtherStepFails", L"//Package/Action", nullptr},
    {"DescendantPositionCountsSiblings", L"//Action[2]", L"second"},
    {"DescendantAttributePredicate", L"//Action[@id]", L"first"},
    {"RelativeFromTheDocument", L"Root", L""},
    {"RelativePath", L"Root/Item", L"i2"},
    {"RootAlone", L"/", L""},
    {"StepWithTrailingSlashTakesFirstChild", L"/*/Package/", L"first"},
};

INSTANTIATE_TEST_SUITE_P(Paths, XmlPathTest, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XmlNavigationTest, FindElementMovesAfterTheCursorAndStaysOnFailure)
{
    OvXmlDocument doc{OvString(kPackages)};
    ASSERT_TRUE(doc.FindElement(L"/*/Package"));
    const int one = doc.GetCurrentElement();
    EXPECT_EQ(Narrow(doc.GetAttribute(one, L"name")), "one");
    EXPECT_EQ(doc.GetParentElement(), doc.GetElementRecord(0).firstChild);

    ASSERT_TRUE(doc.FindElement(L"package"));
    const int two = doc.GetCurrentElement();
    EXPECT_EQ(Narrow(doc.GetAttribute(two, L"NAME")), "two");
    EXPECT_FALSE(doc.FindElement(L"Package"));
    EXPECT_EQ(doc.GetCurrentElement(), two);

    // "//" runs on from the cursor through the rest of the document.
    ASSERT_TRUE(doc.FindElement(L"//Item"));
    EXPECT_EQ(Narrow(doc.GetElementText()), "i1");
    EXPECT_EQ(doc.GetParentElement(), two);
    ASSERT_TRUE(doc.FindElement(L"//Item"));
    EXPECT_EQ(Narrow(doc.GetElementText()), "i2");
    EXPECT_FALSE(doc.FindElement(L"//Item"));
    EXPECT_EQ(Narrow(doc.GetElementText()), "i2");

    // An absolute path repositions the cursor.
    ASSERT_TRUE(doc.FindElement(L"/*/Package/Action[2]"));
    EXPECT_EQ(Narrow(doc.GetElementText()), "second");
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(Narrow(doc.GetTagName()), "Note");
}

TEST(XmlNavigationTest, ChildSearchWithAndWithoutRestart)
{
    OvXmlDocument doc{OvString(kPackages)};
    ASSERT_TRUE(doc.FindElement(L"/*/Package"));
    const int package = doc.GetCurrentElement();
    ASSERT_TRUE(doc.FindChildElement(L"action", false));
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetChildElement(), L"id")), "1");
    ASSERT_TRUE(doc.FindChildElement(L"Action", false));
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetChildElement(), L"id")), "2");
    EXPECT_FALSE(doc.FindChildElement(L"Action", false));
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetChildElement(), L"id")), "2");
    ASSERT_TRUE(doc.FindChildElement(L"Action", true));
    EXPECT_EQ(Narrow(doc.GetAttribute(doc.GetChildElement(), L"id")), "1");
    EXPECT_EQ(doc.GetCurrentElement(), package);

    EXPECT_EQ(Narrow(doc.GetChildText(L"Action")), "first");
    EXPECT_TRUE(doc.GetChildText(L"Missing").IsEmpty());
    EXPECT_EQ(doc.GetCurrentElement(), package);
    EXPECT_EQ(Narrow(doc.GetTagName()), "Package");
}

TEST(XmlNavigationTest, ChildSearchWithoutCurrentElementTakesTheFirstElement)
{
    OvXmlDocument doc{OvString(L"<OvIC version=\"1\"><Settings><AllowDowngrade>0</AllowDowngrade></Settings></OvIC>")};
    ASSERT_TRUE(doc.FindChildElement(L"settings", true));
    EXPECT_EQ(Narrow(doc.GetTagName()), "OvIC");
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(Narrow(doc.GetTagName()), "Settings");
    EXPECT_EQ(Narrow(doc.GetChildText(L"AllowDowngrade")), "0");
}

TEST(XmlNavigationTest, EnterAndLeave)
{
    OvXmlDocument doc{OvString(kPackages)};
    EXPECT_FALSE(doc.EnterElement());   // no current element
    EXPECT_FALSE(doc.LeaveElement());   // no parent
    ASSERT_TRUE(doc.FindElement(L"/*/Package"));
    const int root = doc.GetParentElement(), package = doc.GetCurrentElement();
    ASSERT_TRUE(doc.FindChildElement(L"Action[2]", true));
    const int second = doc.GetChildElement();

    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.GetParentElement(), package);
    EXPECT_EQ(doc.GetCurrentElement(), second);
    EXPECT_EQ(doc.GetChildElement(), 0);
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(Narrow(doc.GetTagName()), "Note");
    const int note = doc.GetCurrentElement();

    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetCurrentElement(), package);
    EXPECT_EQ(doc.GetParentElement(), root);
    EXPECT_EQ(doc.GetChildElement(), note);

    // Entering without a child position leaves no current element: a relative search then
    // starts at the first child.
    ASSERT_TRUE(doc.FindElement(L"/*/Package[2]"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.GetCurrentElement(), 0);
    EXPECT_TRUE(doc.GetTagName().IsEmpty());
    EXPECT_EQ(Narrow(doc.GetTextAtPath(L"Item")), "i1");
}

TEST(XmlNavigationTest, TopLevelSiblingsAreFoundByRelativeSearch)
{
    OvXmlDocument doc{OvString(L"<a>1</a><b>2</b>")};
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(Narrow(doc.GetTextAtPath(L"b")), "2");
    EXPECT_EQ(Narrow(doc.GetTextAtPath(L"a")), "1");
    EXPECT_TRUE(doc.GetTextAtPath(L"/b").IsEmpty());   // an absolute path looks at the root only
}

TEST(XmlNodeTest, CursorOnNodesNamesAndReadsThem)
{
    OvXmlDocument doc{OvString(L"<!DOCTYPE top><top>x &amp; y<!-- note --><e/><![CDATA[<raw>]]><?target data?>"
                               L"</stray>z</top>")};
    ASSERT_TRUE(doc.FindElement(L"/top"));
    ASSERT_TRUE(doc.EnterElement());
    struct Expected {
        int kind;
        const char* name;
        const char* text;
    };
    const Expected expected[] = {
        {kOvXmlText, "#text", "x & y"},
        {kOvXmlComment, "#comment", " note "},
        {kOvXmlElement, "e", ""},
        {kOvXmlCData, "#cdata-section", "<raw>"},
        {kOvXmlProcessingInstruction, "target", "target data"},
        {kOvXmlLoneEndTag, "stray", "</stray>"},
        {kOvXmlText, "#text", "z"},
    };
    for (const Expected& e : expected) {
        ASSERT_TRUE(doc.FindNode(0xFF)) << e.name;
        EXPECT_EQ(doc.GetNodeKind(), e.kind);
        EXPECT_EQ(Narrow(doc.GetTagName()), e.name);
        EXPECT_EQ(Narrow(doc.GetElementText()), e.text);
    }
    EXPECT_FALSE(doc.FindNode(0xFF));

    // Only the kinds asked for; an element search goes on after the node.
    ASSERT_TRUE(doc.FindElement(L"/top"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindNode(kOvXmlComment));
    EXPECT_FALSE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(Narrow(doc.GetTagName()), "e");

    OvXmlDocument top{OvString(L"<!DOCTYPE top><top/>")};
    ASSERT_TRUE(top.FindNode(kOvXmlDocumentType));
    EXPECT_EQ(Narrow(top.GetTagName()), "top");
}

// Loading from a file.

class XmlLoadFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"OvXmlLoadFile " + std::to_wstring(GetCurrentProcessId()) + L".xml";
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    void Write(const std::string& bytes)
    {
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::wstring path_;
};

TEST_F(XmlLoadFileTest, ReadsUtf8AndReportsTheWellFormedFlag)
{
    Write("<r a=\"\xC3\xA9\">\xE4\xB8\xAD &amp; x</r>");
    OvXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(path_.c_str()));
    EXPECT_EQ(std::wstring(doc.GetText().c_str()), L"<r a=\"\u00e9\">\u4e2d &amp; x</r>");
    EXPECT_TRUE(doc.GetResult().IsEmpty());
    EXPECT_EQ(std::wstring(doc.GetTextAtPath(L"/r").c_str()), L"\u4e2d & x");
    EXPECT_EQ(std::wstring(doc.GetAttribute(doc.GetCurrentElement(), L"a").c_str()), L"\u00e9");

    Write("<r><a></r>");
    EXPECT_TRUE(doc.LoadFile(path_.c_str()));   // a is not ended, the root stands alone
    Write("<r></x></r>");
    EXPECT_FALSE(doc.LoadFile(path_.c_str()));
    EXPECT_EQ(Narrow(doc.GetResult()), "No start tag for end tag 'x' at offset 3");
    Write("");
    EXPECT_FALSE(doc.LoadFile(path_.c_str()));
    EXPECT_EQ(Narrow(doc.GetResult()), "Empty document");
}

TEST_F(XmlLoadFileTest, FileThatCannotBeReadLeavesTheDocument)
{
    OvXmlDocument doc{OvString(L"<kept/>")};
    ASSERT_TRUE(doc.FindElement(L"/kept"));
    EXPECT_FALSE(doc.LoadFile(path_.c_str()));   // no such file
    EXPECT_FALSE(doc.LoadFile(L""));
    EXPECT_FALSE(doc.LoadFile(nullptr));
    EXPECT_EQ(Narrow(doc.GetText()), "<kept/>");
    EXPECT_EQ(Narrow(doc.GetTagName()), "kept");
}

}  // namespace
