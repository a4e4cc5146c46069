#include "OvStringEntities.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

struct DecodeCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* result;
    int decoded;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

const DecodeCase kDecodeCases[] = {
    {"OwnOutputNotDecodedAgain", L"&amp;lt;", L"&lt;", 1},
    {"NoSemicolonLeavesTheAmpersand", L"a & b", L"a & b", 0},
    {"NoSemicolonAfterTheLastAmpersand", L"&lt; &gt", L"< &gt", 1},
    {"DecimalReference", L"&#65;", L"A", 1},
    {"HexReferenceTwoDigits", L"&#x42;", L"B", 1},
    {"HexReferenceFourDigits", L"&#X20AC;", L"\u20AC", 1},
    {"DecimalThreeDigits", L"&#169;", L"\u00A9", 1},
    {"FourHexDigitsReadAsDecimal", L"&#8364;", L"\u20AC", 1},
    {"FourCharactersNotAllHexDigits", L"&#12g4;", L"&#12g4;", 0},
    {"OneDigitIsNoReference", L"&#9;", L"&#9;", 0},
    {"HexWithThreeDigitsIsNoReference", L"&#x414;", L"&#x414;", 0},
    {"ReferenceToZeroStays", L"&#00;", L"&#00;", 0},
    {"HexReferenceToZeroStays", L"&#x0000;", L"&#x0000;", 0},
    {"LettersAfterHashStay", L"&#ab;", L"&#ab;", 0},
    {"ShortUnknownNameStays", L"&ab;&xyz;", L"&ab;&xyz;", 0},
    {"NamesAreCaseSensitive", L"&Amp;&AUML;&Auml;", L"&Amp;&AUML;\u00C4", 1},
    {"NbspIsAPlainSpace", L"a&nbsp;b", L"a b", 1},
    {"DashesAndQuotes", L"&ndash;&mdash;&rsquo;&apos;&ldquo;&rdquo;", L"--''\u201C\u201D", 6},
    {"LongestNames", L"&hellip;&frac12;&Yacute;", L"\u2026\u00BD\u00DD", 3},
    {"ScanGoesOnAfterAFailedAmpersand", L"&&amp;", L"&&", 1},
    {"SemicolonFarAway", L"&copy and more;", L"&copy and more;", 0},
    {"MixedText", L"Tom &amp; Jerry &lt;3 &copy;2024", L"Tom & Jerry <3 \u00A92024", 3},
    {"Empty", L"", L"", 0},
};

class DecodeEntitiesTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeEntitiesTest, Result)
{
    const DecodeCase& c = GetParam();
    OvString text(c.text);
    EXPECT_EQ(DecodeEntities(text), c.decoded);
    EXPECT_STREQ(text.c_str(), c.result);
    EXPECT_EQ(text.Length(), static_cast<int>(wcslen(c.result)));
}

INSTANTIATE_TEST_SUITE_P(Table, DecodeEntitiesTest, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(OvStringEntities, EveryTableNameDecodesToOneCharacter)
{
    const wchar_t* names =
        L"gt lt amp deg ETH eth not reg shy uml yen auml apos Auml cent copy Euml euml Iuml iuml macr nbsp ordf ordm "
        L"Ouml ouml para quot sect sup1 sup2 sup3 Uuml uuml yuml ndash mdash iexcl pound rsquo ldquo rdquo Acirc acirc "
        L"acute AElig aelig Aring aring cedil Ecirc ecirc Icirc icirc laquo micro Ocirc ocirc raquo szlig THORN thorn "
        L"times Ucirc ucirc Aacute aacute Agrave agrave Atilde atilde brvbar Ccedil ccedil curren divide Eacute eacute "
        L"Egrave egrave frac14 frac12 frac34 hellip Iacute iacute Igrave igrave iquest middot Ntilde ntilde plusmn "
        L"Oacute oacute Ograve ograve Oslash oslash Otilde otilde Uacute uacute Ugrave ugrave Yacute yacute";
    int count = 0;
    for (const wchar_t* p = names; *p;) {
        const wchar_t* end = wcschr(p, L' ');
        if (!end) end = p + wcslen(p);
        OvString text = OvString(L"&") + OvString(p, static_cast<int>(end - p)) + L";";
        SCOPED_TRACE(testing::Message() << "entity " << count);
        EXPECT_EQ(DecodeEntities(text), 1);
        EXPECT_EQ(text.Length(), 1);
        ++count;
        p = *end ? end + 1 : end;
    }
    // Latin-1 names decode to their HTML 4.01 characters.
    OvString latin(L"&eacute;&Ntilde;&szlig;&yuml;&deg;&times;");
    DecodeEntities(latin);
    EXPECT_STREQ(latin.c_str(), L"\u00E9\u00D1\u00DF\u00FF\u00B0\u00D7");
}

TEST(OvStringEntities, DecodingLeavesSharedCopiesAlone)
{
    OvString text(L"&lt;b&gt;");
    OvString copy(text);
    DecodeEntities(text);
    EXPECT_STREQ(text.c_str(), L"<b>");
    EXPECT_STREQ(copy.c_str(), L"&lt;b&gt;");
}

TEST(OvStringEntities, EncoderSetsForTextAndAttributes)
{
    const wchar_t input[] = L"a<b>&\"c'\t\r\n\x01\x02\x1F";
    EXPECT_STREQ(EncodeEntities(input, false).c_str(), L"a&lt;b&gt;&amp;\"c'\t\r\n&#x1;??");
    EXPECT_STREQ(EncodeEntities(input, true).c_str(), L"a&lt;b&gt;&amp;&quot;c&apos;\t\r\n&#x1;??");
    EXPECT_STREQ(EncodeEntities(L"plain", true).c_str(), L"plain");
    EXPECT_STREQ(EncodeEntities(nullptr, false).c_str(), L"");
    // What the encoder writes, the decoder reads back.
    OvString round = EncodeEntities(L"x < y & \"z\"", true);
    DecodeEntities(round);
    EXPECT_STREQ(round.c_str(), L"x < y & \"z\"");
}

}  // namespace
