#include "OvPropertyMapTestSupport.h"
#include "OvStoredFormats.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// ---- Recognisers --------------------------------------------------------------------------

struct RecogniserCase {
    const char* name;
    const wchar_t* text;
    bool tagged;
    bool special;
    bool volume;
    bool plain;
};

void PrintTo(const RecogniserCase& c, std::ostream* os) { *os << c.name; }

class OvLocationRecognisers : public testing::TestWithParam<RecogniserCase> {};

TEST_P(OvLocationRecognisers, SortTheText)
{
    const RecogniserCase& c = GetParam();
    EXPECT_EQ(IsTaggedFileName(c.text), c.tagged);
    EXPECT_EQ(IsSpecialLocationText(c.text), c.special);
    EXPECT_EQ(IsVolumePath(c.text), c.volume);
    EXPECT_EQ(IsPlainLocalPath(c.text), c.plain);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OvLocationRecognisers,
    testing::Values(
        RecogniserCase{"LocalFile", L"C:\\Music\\song.mp3", false, false, false, true},
        RecogniserCase{"NetworkFile", L"\\\\server\\share\\a.mp3", false, false, false, true},
        RecogniserCase{"Empty", L"", false, false, false, false},
        RecogniserCase{"Null", nullptr, false, false, false, false},
        RecogniserCase{"Url", L"http://host/a.mp3", false, false, false, false},
        RecogniserCase{"TaggedFileName", L"<XMLFN version=\"1.0\">\r\n</XMLFN>", true, false, false, true},
        RecogniserCase{"TaggedFileNameOtherCase", L"<xmlfn VERSION=\"1.0\">", true, false, false, true},
        RecogniserCase{"TaggedFileNameTwoBlanks", L"<XMLFN  version=\"1.0\">", false, false, false, true},
        RecogniserCase{"TaggedPropertyText", L"<XMLPH version=\"1.0\">\r\n</XMLPH>", false, true, false, false},
        RecogniserCase{"TaggedPropertyTextOtherCase", L"<xmlph Version=", false, true, false, false},
        RecogniserCase{"Library", L"C:\\Data\\Main.tvlb", false, true, false, false},
        RecogniserCase{"LibraryUpperCase", L"C:\\Data\\MAIN.TVLB", false, true, false, false},
        RecogniserCase{"View", L"D:\\x.ovtv\\y", false, true, false, false},
        RecogniserCase{"Guide", L"guide.tvgd", false, true, false, false},
        RecogniserCase{"DriveToken", L"(Install Drive):\\Music\\", false, true, false, false},
        RecogniserCase{"DriveTokenTwoLetters", L"(CD):", false, true, false, false},
        RecogniserCase{"DriveTokenOneLetter", L"(C):\\x", false, false, false, true},
        RecogniserCase{"DriveTokenNoColon", L"(Install Drive)\\x", false, false, false, true},
        RecogniserCase{"Volume", L"(0x1234ABCD):\\Music", false, false, true, false},
        RecogniserCase{"VolumeRootOnly", L"(0x1234ABCD):\\", false, false, true, false},
        RecogniserCase{"VolumeWithoutFolder", L"(0x1234ABCD):", false, false, false, true},
        RecogniserCase{"VolumeTooFewDigits", L"(0x1234ABC):\\Music", false, false, false, true}),
    [](const testing::TestParamInfo<RecogniserCase>& info) { return std::string(info.param.name); });

// ---- Trailing property --------------------------------------------------------------------

struct TrailingCase {
    const char* name;
    const wchar_t* text;
    bool split;
    const wchar_t* path;
    const wchar_t* data;
};

void PrintTo(const TrailingCase& c, std::ostream* os) { *os << c.name; }

class OvTrailingProperty : public testing::TestWithParam<TrailingCase> {};

TEST_P(OvTrailingProperty, SplitsAfterAnExtensionOfOneToFiveCharacters)
{
    const TrailingCase& c = GetParam();
    OvString path = L"stale", data = L"stale";
    EXPECT_EQ(SplitTrailingProperty(c.text, path, data), c.split);
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OvTrailingProperty,
    testing::Values(
        TrailingCase{"Track", L"C:\\a\\song.mp3;42", true, L"C:\\a\\song.mp3", L"42"},
        TrailingCase{"EmptyData", L"C:\\a\\song.mp3;", true, L"C:\\a\\song.mp3", L""},
        TrailingCase{"OneCharacterExtension", L"C:\\a\\b.c;x y", true, L"C:\\a\\b.c", L"x y"},
        TrailingCase{"FiveCharacters", L"C:\\a\\song.abcde;1", true, L"C:\\a\\song.abcde", L"1"},
        TrailingCase{"LastSemicolon", L"C:\\a\\s.mp3;1;2", true, L"C:\\a\\s.mp3;1", L"2"},
        // Only the distance between the last '.' and the last ';' counts, across a '\\' too.
        TrailingCase{"DistanceAcrossFolder", L"C:\\x.y\\z;1", true, L"C:\\x.y\\z", L"1"},
        TrailingCase{"SixCharacters", L"C:\\a\\song.abcdef;1", false, L"C:\\a\\song.abcdef;1", L""},
        TrailingCase{"NoExtension", L"C:\\a;b\\file", false, L"C:\\a;b\\file", L""},
        TrailingCase{"DotRightBeforeSemicolon", L"C:\\a\\song.;1", false, L"C:\\a\\song.;1", L""},
        TrailingCase{"DotAfterSemicolon", L"C:\\a\\song.mp3;4.2", false, L"C:\\a\\song.mp3;4.2", L""},
        TrailingCase{"EndsInBackslash", L"C:\\a.b;c\\", false, L"C:\\a.b;c\\", L""},
        TrailingCase{"Url", L"http://host/a.mp3;42", false, L"http://host/a.mp3;42", L""},
        TrailingCase{"Empty", L"", false, L"", L""}),
    [](const testing::TestParamInfo<TrailingCase>& info) { return std::string(info.param.name); });

TEST(OvStoredFormats, TypeNameIsAPropertyWithADefault)
{
    OvPropertyMap properties;
    EXPECT_EQ(GetTypeName(properties), L"");
    EXPECT_EQ(GetTypeName(properties, L"Audio"), L"Audio");
    SetTypeName(properties, L"Playlist");
    EXPECT_EQ(properties.GetString(L"typename"), L"Playlist");
    EXPECT_EQ(GetTypeName(properties, L"Audio"), L"Playlist");
    SetTypeName(properties, L"");
    EXPECT_TRUE(properties.Exists(L"TypeName"));
    EXPECT_EQ(GetTypeName(properties, L"Audio"), L"");
}

// ---- Tagged file names ----------------------------------------------------------------------

struct UnpackCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* path;
    const wchar_t* properties;   // serialised
};

void PrintTo(const UnpackCase& c, std::ostream* os) { *os << c.name; }

class OvUnpackLocation : public testing::TestWithParam<UnpackCase> {};

TEST_P(OvUnpackLocation, GivesThePathAndTheProperties)
{
    const UnpackCase& c = GetParam();
    OvPropertyMap properties;
    EXPECT_EQ(UnpackLocationText(c.text, properties, true), c.path);
    OvString serialised;
    properties.Serialize(serialised);
    EXPECT_EQ(serialised, c.properties);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OvUnpackLocation,
    testing::Values(
        UnpackCase{"TaggedFileName",
                   L"<XMLFN version=\"1.0\">\r\n<Item Name=\"Filename\">C:\\a\\b.mp3</Item>\r\n"
                   L"<Item Name=\"HTTPREQUEST_TYPE\">HEAD</Item>\r\n</XMLFN>",
                   L"C:\\a\\b.mp3", L"(1:1)(16:HTTPREQUEST_TYPE)(4:HEAD)"},
        UnpackCase{"FilenameIgnoresCase",
                   L"<xmlfn version=\"1.0\"><item name=\"FILENAME\">http://h/x;1.mp3</item></xmlfn>",
                   L"http://h/x;1.mp3", L"(1:0)"},
        UnpackCase{"FilenameMissing",
                   L"<XMLFN version=\"1.0\"><Item Name=\"TypeName\">Audio</Item><Item Name=\"b\"/></XMLFN>",
                   L"", L"(1:2)(1:b)(0:)(8:TypeName)(5:Audio)"},
        UnpackCase{"TrailingSemicolonKeptInTaggedPath",
                   L"<XMLFN version=\"1.0\"><Item Name=\"Filename\">C:\\a\\song.mp3;42</Item></XMLFN>",
                   L"C:\\a\\song.mp3;42", L"(1:0)"},
        UnpackCase{"CommaVersion",
                   L"<XMLFN version=\"1,0\"><Item Name=\"Filename\">C:\\a.mp3</Item></XMLFN>", L"", L"(1:0)"},
        UnpackCase{"WholeVersion",
                   L"<XMLFN version=\"1\"><Item Name=\"Filename\">C:\\a.mp3</Item></XMLFN>", L"", L"(1:0)"},
        UnpackCase{"Malformed",
                   L"<XMLFN version=\"1.0\"><Item Name=\"Filename\">C:\\a.mp3</Item><Item Name=\"b\">2</XMLFN>",
                   L"", L"(1:0)"},
        UnpackCase{"Truncated", L"<XMLFN version=\"1.0\"><Item Name=\"Filename\">C:\\a.mp3</Item>", L"", L"(1:0)"},
        UnpackCase{"TrackWithTrailingData", L"C:\\a\\song.mp3;42", L"C:\\a\\song.mp3",
                   L"(1:1)(17:PostExtensionData)(2:42)"},
        UnpackCase{"SemicolonInFolder", L"C:\\a;b\\file", L"C:\\a;b\\file", L"(1:0)"},
        UnpackCase{"Url", L"http://host/a.mp3;42", L"http://host/a.mp3;42", L"(1:0)"},
        UnpackCase{"Plain", L"C:\\Music\\", L"C:\\Music\\", L"(1:0)"}),
    [](const testing::TestParamInfo<UnpackCase>& info) { return std::string(info.param.name); });

TEST(OvTaggedFileName, UnpackingKeepsOrClearsTheOldProperties)
{
    OvPropertyMap properties;
    properties.SetString(L"Old", L"1");
    properties.SetString(L"HTTPREQUEST_TYPE", L"GET");
    const wchar_t* text =
        L"<XMLFN version=\"1.0\"><Item Name=\"Filename\">C:\\x</Item>"
        L"<Item Name=\"httprequest_type\">HEAD</Item></XMLFN>";
    EXPECT_EQ(UnpackLocationText(text, properties, false), L"C:\\x");
    EXPECT_EQ(properties.GetString(L"Old"), L"1");
    EXPECT_EQ(properties.GetString(L"HTTPREQUEST_TYPE"), L"HEAD");
    EXPECT_EQ(properties.GetCount(), 2);
    EXPECT_EQ(UnpackLocationText(L"C:\\y.mp3;7", properties, true), L"C:\\y.mp3");
    EXPECT_EQ(properties.GetCount(), 1);
    EXPECT_EQ(properties.GetString(kOvPostExtensionData), L"7");
}

TEST(OvTaggedFileName, WriterMirrorsThePropertyTextAndReadsBack)
{
    OvPropertyMap properties;
    EXPECT_EQ(WriteTaggedFileName(L"C:\\a & b\\<1>.mp3", properties),
              L"<XMLFN version=\"1.0\">\r\n<Item Name=\"Filename\">C:\\a &amp; b\\&lt;1&gt;.mp3</Item>\r\n</XMLFN>");

    properties.SetString(L"HTTPREQUEST_TYPE", L"HEAD");
    properties.SetString(L"Range", L"");
    properties.SetString(L"FILENAME", L"overridden");
    const OvString text = WriteTaggedFileName(L"http://host/a?b=1&c=\"2\"", properties);
    EXPECT_TRUE(IsTaggedFileName(text));
    OvPropertyMap back;
    EXPECT_EQ(UnpackLocationText(text, back, true), L"http://host/a?b=1&c=\"2\"");
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetString(L"HTTPREQUEST_TYPE"), L"HEAD");
    EXPECT_TRUE(back.Exists(L"Range"));
}

}  // namespace
