// Seeded random documents: generated well-formed ones must be read exactly; mutated and random
// ones must be parsed and queried without a crash, with an index and messages that stay inside
// the text.

#include "OvXmlDocument.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Text with exactly these units, NUL included.
OvString Text(const std::wstring& text)
{
    OvString s;
    wchar_t* buffer = s.GetBuffer(static_cast<int>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) buffer[i] = text[i];
    s.ReleaseBuffer(static_cast<int>(text.size()));
    return s;
}

std::wstring Wide(const OvString& s) { return std::wstring(s.c_str(), static_cast<size_t>(s.Length())); }

std::string Printable(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c >= 32 && c < 127) out += static_cast<char>(c);
        else out += "\\u" + std::to_string(static_cast<unsigned>(c));
    }
    return out;
}

struct ExpectedElement {
    std::wstring name;
    uint32_t level;
    std::wstring text;   // meaningful for elements without children
    bool hasChildren = false;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
};

// Builds a random well-formed document and what reading it must give.
class DocumentGenerator {
public:
    explicit DocumentGenerator(std::mt19937& random) : random_(random) {}

    std::wstring Make(std::vector<ExpectedElement>& elements)
    {
        out_.clear();
        elements_ = &elements;
        elements.clear();
        if (Chance(2)) out_ += L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
        Space();
        if (Chance(3)) out_ += L"<!-- prolog -->";
        if (Chance(4)) out_ += L"<!DOCTYPE root [<!ELEMENT root ANY><!ATTLIST a x CDATA \"v>w\">]>";
        Space();
        Element(1, 1 + Pick(6));
        Space();
        if (Chance(3)) out_ += L"<?after it?>";
        return out_;
    }

private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool Chance(int oneIn) { return Pick(oneIn) == 0; }

    void Space()
    {
        static const wchar_t* const spaces[] = {L"", L" ", L"\r\n", L"\t ", L"\n\n  "};
        out_ += spaces[Pick(5)];
    }

    std::wstring Name()
    {
        static const wchar_t* const names[] = {L"a", L"b", L"c", L"Item", L"Package", L"x1", L"_n", L"ns:q",
                                               L"z-z.z", L"\u00e9t\u00e9", L"\u4e2d"};
        return names[Pick(11)];
    }

    // The same name in other letter case, as an end tag may write it.
    std::wstring OtherCase(std::wstring name)
    {
        for (wchar_t& c : name)
            if (c < 128 && Chance(2)) c = static_cast<wchar_t>(iswupper(c) ? towlower(c) : towupper(c));
        return name;
    }

    // A piece of character data and its reading.
    void Data(std::wstring& source, std::wstring& reading, wchar_t quote)
    {
        static const std::pair<const wchar_t*, const wchar_t*> references[] = {
            {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&amp;", L"&"}, {L"&quot;", L"\""}, {L"&apos;", L"'"},
            {L"&#65;", L"A"}, {L"&#x263A;", L"\u263a"}, {L"&amp;lt;", L"&lt;"}, {L"& ", L"& "}};
        static const wchar_t plain[] = L"abc XYZ 019 >=/?!-[]\u00e9\u4e2d\"'";
        const int pieces = Pick(5);
        for (int i = 0; i < pieces; ++i) {
            if (Chance(4)) {
                const auto& r = references[Pick(9)];
                source += r.first;
                reading += r.second;
            } else {
                const int n = 1 + Pick(8);
                for (int k = 0; k < n; ++k) {
                    wchar_t c = plain[Pick(static_cast<int>(sizeof(plain) / sizeof(wchar_t) - 1))];
                    if (c == quote) c = L'q';
                    source += c;
                    reading += c;
                }
            }
        }
    }

    void Element(uint32_t level, int depthLeft)
    {
        const std::wstring name = Name();
        const size_t index = elements_->size();
        elements_->push_back({name, level, L"", false, {}});
        out_ += L"<" + name;
        static const wchar_t* const attributeNames[] = {L"x", L"Name", L"version", L"id"};
        const int attributes = Pick(4);
        for (int i = 0; i < attributes; ++i) {
            const std::wstring attribute = attributeNames[i];
            const wchar_t quote = Chance(2) ? L'"' : L'\'';
            std::wstring source, reading;
            Data(source, reading, quote);
            out_ += L" " + attribute + (Chance(4) ? L" = " : L"=") + quote + source + quote;
            (*elements_)[index].attributes.push_back({attribute, reading});
        }
        if (level > 1 && Chance(4)) {
            out_ += Chance(2) ? L"/>" : L" />";
            return;
        }
        out_ += L">";
        std::wstring text;
        bool children = false;
        const int items = Pick(9);
        for (int i = 0; i < items; ++i) {
            switch (Pick(7)) {
            case 0:
            case 1:
                if (depthLeft > 0) {
                    Element(level + 1, depthLeft - 1);
                    children = true;
                    break;
                }
                [[fallthrough]];
            case 2:
            case 3: {
                std::wstring source;
                Data(source, text, 0);
                out_ += source;
                break;
            }
            case 4:
                out_ += L"<!-- a comment with <tags> and - dashes -->";
                break;
            case 5:
                out_ += L"<![CDATA[raw <b>&amp; ]]>";
                text += L"raw <b>&amp; ";
                break;
            default:
                out_ += L"<?pi some data?>";
                break;
            }
        }
        (*elements_)[index].hasChildren = children;
        (*elements_)[index].text = children ? L"" : text;
        out_ += L"</" + OtherCase(name) + (Chance(4) ? L" >" : L">");
    }

    std::mt19937& random_;
    std::wstring out_;
    std::vector<ExpectedElement>* elements_ = nullptr;
};

// Checks the index and the message against the text; returns what is wrong, empty when sound.
std::string CheckIndex(const OvXmlDocument& doc)
{
    const std::wstring text = Wide(doc.GetText());
    const uint32_t length = static_cast<uint32_t>(text.size());
    const uint32_t count = static_cast<uint32_t>(doc.GetElementCount());
    if (count < 1) return "no document record";
    const OvXmlElement document = doc.GetElementRecord(0);
    if (document.offset != 0 || document.length != length) return "document record does not cover the text";

    // Every offset named in the message lies inside the text.
    const std::wstring message = Wide(doc.GetResult());
    for (size_t at = message.find(L"offset "); at != std::wstring::npos; at = message.find(L"offset ", at + 1)) {
        const unsigned long offset = std::stoul(message.substr(at + 7));
        if (offset >= length) return "message offset outside the text: " + Printable(message);
    }

    uint32_t reached = 0;
    std::vector<uint32_t> pending{0};
    while (!pending.empty()) {
        const uint32_t parentIndex = pending.back();
        pending.pop_back();
        const OvXmlElement parent = doc.GetElementRecord(static_cast<int>(parentIndex));
        const uint32_t contentStart = parentIndex ? parent.ContentStart() : 0;
        const uint32_t contentEnd = parentIndex ? parent.ContentEnd() : length;
        uint32_t previous = 0, last = 0, position = contentStart;
        for (uint32_t child = parent.firstChild; child; child = doc.GetElementRecord(static_cast<int>(child)).nextSibling) {
            const std::string where = "element " + std::to_string(child) + ": ";
            if (child >= count || ++reached >= count) return where + "link outside the index or a cycle";
            const OvXmlElement e = doc.GetElementRecord(static_cast<int>(child));
            if (e.parent != parentIndex) return where + "wrong parent";
            if (e.Level() != parent.Level() + 1) return where + "wrong level";
            if (e.Has(OvXmlElement::kFirstChild) != (previous == 0)) return where + "wrong first-child flag";
            if (previous && e.previousSibling != previous) return where + "wrong previous sibling";
            if (e.offset < position || e.End() > contentEnd) return where + "outside its parent or overlapping";
            if (text[e.offset] != L'<' || e.StartTagLength() < 3 || e.StartTagLength() > e.length)
                return where + "start tag does not fit";
            if (text[e.offset + e.StartTagLength() - 1] != L'>') return where + "start tag does not end in '>'";
            if (e.EndTagLength()) {
                if (e.StartTagLength() + e.EndTagLength() > e.length) return where + "end tag does not fit";
                if (text[e.End() - e.EndTagLength()] != L'<' || text[e.End() - e.EndTagLength() + 1] != L'/' ||
                    text[e.End() - 1] != L'>')
                    return where + "end tag is not one";
            } else if (e.length != e.StartTagLength()) {
                return where + "content without an end tag";
            }
            if (e.Has(OvXmlElement::kNotEnded) && (e.length != e.StartTagLength() || e.firstChild))
                return where + "not ended but holds content";
            position = e.End();
            previous = last = child;
            pending.push_back(child);
        }
        if (parent.firstChild && doc.GetElementRecord(static_cast<int>(parent.firstChild)).previousSibling != last)
            return "first child of " + std::to_string(parentIndex) + " does not point at the last";
    }
    if (reached != count - 1) return "elements not reachable from the document";
    return "";
}

// Random queries and cursor moves; every result stays inside the document.
std::string Exercise(OvXmlDocument& doc, std::mt19937& random)
{
    static const wchar_t* const prefixes[] = {L"", L"/", L"//", L"/*/"};
    static const wchar_t* const steps[] = {L"a", L"B", L"*", L"Item", L"x1", L"", L"\u4e2d", L"zz"};
    static const wchar_t* const predicates[] = {L"", L"", L"[1]", L"[2]", L"[@x]", L"[@NAME='v']", L"[b]",
                                                L"[0]", L"[", L"[@", L"[99999999999]"};
    static const wchar_t* const attributes[] = {L"x", L"Name", L"version", L"id", L""};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto path = [&] {
        std::wstring p = prefixes[pick(4)];
        const int n = 1 + pick(3);
        for (int i = 0; i < n; ++i) {
            if (i) p += L"/";
            p += steps[pick(8)];
            p += predicates[pick(11)];
        }
        return p;
    };
    const uint32_t length = static_cast<uint32_t>(doc.GetText().Length());
    const int count = doc.GetElementCount();
    for (int op = 0; op < 24; ++op) {
        OvString text;
        switch (pick(11)) {
        case 0: doc.FindElement(path().c_str()); break;
        case 1: doc.FindChildElement(path().c_str(), pick(2) == 0); break;
        case 2: doc.EnterElement(); break;
        case 3: doc.LeaveElement(); break;
        case 4: doc.FindNode(1 + pick(255)); break;
        case 5: text = doc.GetElementText(); break;
        case 6: text = doc.GetElementText(pick(count + 2) - 1); break;
        case 7: text = doc.GetAttribute(pick(count + 1), attributes[pick(5)]); break;
        case 8: text = doc.GetChildText(steps[pick(8)]); break;
        case 9: text = doc.GetTextAtPath(path().c_str()); break;
        default:
            // Names of node kinds are not taken from the text.
            text = doc.GetTagName();
            if (text.StartsWith(L"#")) text.Empty();
            break;
        }
        if (static_cast<uint32_t>(text.Length()) > length) return "a text longer than the document";
        for (int index : {doc.GetParentElement(), doc.GetCurrentElement(), doc.GetChildElement()})
            if (index < 0 || index >= count) return "cursor outside the index";
    }
    return "";
}

std::wstring Mutate(std::wstring text, std::mt19937& random)
{
    static const std::wstring snippets[] = {
        L"<", L">", L"/", L"</", L"/>", L"<!--", L"-->", L"<![CDATA[", L"]]>", L"<?", L"?>", L"<!DOCTYPE d [", L"<!E",
        L"<!", L"\"", L"'", L"&#", L"&#x0;", L"<a>", L"</a>", L"<b x='1'>", L"]", std::wstring(1, L'\0'),
        std::wstring(1, static_cast<wchar_t>(0xD800)), L"\uffff", L"<\u4e2d>", L"<![C", L"<!-->", L"<?>", L"]]"};
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(random() % n) : 0; };
    const int mutations = 1 + static_cast<int>(pick(4));
    for (int m = 0; m < mutations; ++m) {
        const size_t at = pick(text.size() + 1);
        switch (pick(6)) {
        case 0: text.erase(at, 1 + pick(12)); break;
        case 1: text.insert(at, snippets[pick(sizeof(snippets) / sizeof(snippets[0]))]); break;
        case 2:
            if (at < text.size()) text[at] = static_cast<wchar_t>(random() & 0xFFFF);
            break;
        case 3: text.resize(at); break;
        case 4: text.insert(at, text.substr(pick(text.size() + 1), 1 + pick(40))); break;
        default: {
            std::wstring noise;
            const size_t n = 1 + pick(6);
            for (size_t i = 0; i < n; ++i) noise += L"<>/!?-[]\"'&#;=CDEAN x\r\n"[pick(23)];
            text.insert(at, noise);
            break;
        }
        }
    }
    return text;
}

std::wstring RandomText(std::mt19937& random)
{
    static const wchar_t alphabet[] = L"<<<>>//!!?-?-[]\"'&#;=CDATAENxab \r\n\t\u00e9\u4e2d";
    const size_t length = random() % 300;
    std::wstring text;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % (sizeof(alphabet) / sizeof(wchar_t) - 1)];
    return text;
}

TEST(XmlFuzzTest, GeneratedDocumentsAreReadExactly)
{
    std::mt19937 random(20240601);
    DocumentGenerator generator(random);
    std::vector<ExpectedElement> expected;
    for (int n = 0; n < 4000; ++n) {
        const std::wstring text = generator.Make(expected);
        SCOPED_TRACE("document " + std::to_string(n) + ": " + Printable(text));
        OvXmlDocument doc{Text(text)};
        ASSERT_TRUE(doc.IsWellFormed());
        ASSERT_TRUE(doc.GetResult().IsEmpty()) << Printable(Wide(doc.GetResult()));
        ASSERT_EQ(CheckIndex(doc), "");
        ASSERT_EQ(static_cast<size_t>(doc.GetElementCount()), expected.size() + 1);
        // Records follow the start tags in document order.
        for (size_t i = 0; i < expected.size(); ++i) {
            const int index = static_cast<int>(i + 1);
            const ExpectedElement& e = expected[i];
            ASSERT_EQ(doc.GetElementRecord(index).Level(), e.level) << i;
            ASSERT_EQ(doc.GetElementRecord(index).firstChild != 0, e.hasChildren) << i;
            ASSERT_EQ(Printable(Wide(doc.GetElementText(index))), Printable(e.text)) << i;
            for (const auto& [name, value] : e.attributes)
                ASSERT_EQ(Printable(Wide(doc.GetAttribute(index, name.c_str()))), Printable(value)) << i;
        }
        // A descendant search from each element finds the next one in document order.
        OvXmlDocument walk{Text(text)};
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_TRUE(walk.FindElement((L"//" + expected[i].name).c_str())) << i;
            ASSERT_EQ(walk.GetCurrentElement(), static_cast<int>(i + 1));
        }
        ASSERT_FALSE(walk.FindElement(L"//*"));
    }
}

TEST(XmlFuzzTest, MutatedAndRandomDocumentsKeepASoundIndex)
{
    std::mt19937 random(7340033);
    DocumentGenerator generator(random);
    std::vector<ExpectedElement> expected;
    for (int n = 0; n < 20000; ++n) {
        const std::wstring text = n % 4 == 3 ? RandomText(random) : Mutate(generator.Make(expected), random);
        SCOPED_TRACE("document " + std::to_string(n) + ": " + Printable(text));
        OvXmlDocument doc{Text(text)};
        ASSERT_EQ(static_cast<size_t>(doc.GetText().Length()), text.size());
        ASSERT_EQ(CheckIndex(doc), "");
        if (doc.IsWellFormed()) {
            const OvXmlElement root = doc.GetElementRecord(doc.GetElementRecord(0).firstChild);
            ASSERT_EQ(root.nextSibling, 0u);
        }
        ASSERT_EQ(Exercise(doc, random), "");
    }
}

}  // namespace
