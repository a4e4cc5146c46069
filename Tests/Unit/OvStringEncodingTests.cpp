#include "OvStringBase64.h"
#include "OvStringEncoding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::wstring AnsiReading(const Bytes& bytes)
{
    wchar_t out[64] = {};
    const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), out, 63);
    return std::wstring(out, n > 0 ? n : 0);
}

struct DetectCase {
    const char* name;
    Bytes bytes;
    OvTextEncoding encoding;
    const wchar_t* text;   // null: the system code page's reading of the bytes
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

const DetectCase kDetectCases[] = {
    {"Utf16WithoutMark", {0x68, 0x00, 0x69, 0x00}, kOvEncodingUtf16, L"hi"},
    {"Utf16LittleEndianMark", {0xFF, 0xFE, 0x41, 0x00, 0x16, 0x04}, kOvEncodingUtf16, L"A\u0416"},
    {"Utf16BigEndianMark", {0xFE, 0xFF, 0x00, 0x41, 0x04, 0x16}, kOvEncodingUtf16, L"A\u0416"},
    {"Utf16ZeroFollowedByOneZero", {0x41, 0x00, 0x00, 0x01, 0x42, 0x00}, kOvEncodingUtf16, L"A\u0100B"},
    {"Utf32WithoutMark", {0x68, 0, 0, 0, 0x69, 0, 0, 0}, kOvEncodingUtf32, L"hi"},
    {"Utf32Mark", {0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0, 0x16, 0x04, 0, 0}, kOvEncodingUtf32, L"A\u0416"},
    {"Utf32KeepsLow16Bits", {0x41, 0, 0, 0, 0x00, 0xF6, 0x01, 0}, kOvEncodingUtf32, L"A\uF600"},
    {"Utf8TwoByteSequence", {0xC3, 0xA9}, kOvEncodingUtf8, L"\u00E9"},
    {"Utf8ThreeByteSequence", {0x61, 0xE2, 0x82, 0xAC}, kOvEncodingUtf8, L"a\u20AC"},
    {"Utf8Mark", {0xEF, 0xBB, 0xBF, 0x61}, kOvEncodingUtf8NoMark, L"a"},
    {"Utf8TrailingZerosIgnored", {0xC3, 0xA9, 0x00, 0x00}, kOvEncodingUtf8, L"\u00E9"},
    {"AnsiLoneHighByte", {0xE9}, kOvEncodingAnsi, nullptr},
    {"AnsiWhenAnyByteIsInvalid", {0xC3, 0xA9, 0xE9}, kOvEncodingAnsi, nullptr},
    {"AnsiForPlainAscii", {0x61, 0x62}, kOvEncodingAnsi, L"ab"},
    {"AnsiForFourByteSequence", {0xF0, 0x9F, 0x98, 0x80}, kOvEncodingAnsi, nullptr},
    {"TruncatedUtf8AtTheEndIsAnsi", {0x61, 0xE2, 0x82}, kOvEncodingAnsi, nullptr},
    {"Empty", {}, kOvEncodingAnsi, L""},
    {"OnlyZeros", {0, 0, 0}, kOvEncodingAnsi, L""},
};

class DetectTest : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectTest, EncodingAndText)
{
    const DetectCase& c = GetParam();
    const int n = static_cast<int>(c.bytes.size());
    EXPECT_EQ(DetectTextEncoding(c.bytes.data(), n), c.encoding);
    const std::wstring expected = c.text ? std::wstring(c.text) : AnsiReading(c.bytes);
    EXPECT_EQ(std::wstring(DecodeText(c.bytes.data(), n, kOvEncodingAutomatic).c_str()), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DetectTest, testing::ValuesIn(kDetectCases),
                         [](const testing::TestParamInfo<DetectCase>& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    Bytes bytes;
    int encoding;
    const wchar_t* text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

const DecodeCase kDecodeCases[] = {
    {"Utf8MarkBecomesCharacter", {0xEF, 0xBB, 0xBF, 0x61}, kOvEncodingUtf8, L"\uFEFFa"},
    {"Utf8NoMarkSkipsIt", {0xEF, 0xBB, 0xBF, 0x61}, kOvEncodingUtf8NoMark, L"a"},
    {"Utf8NoMarkWithoutMark", {0x61, 0x62}, kOvEncodingUtf8NoMark, L"ab"},
    {"Utf8InvalidBytesKeepTheirValue", {0x61, 0xE9, 0x62, 0x80}, kOvEncodingUtf8, L"a\u00E9b\u0080"},
    {"Utf8FourByteLeadNotRecognised", {0xF0, 0x9F, 0x98, 0x80}, kOvEncodingUtf8, L"\u00F0\u009F\u0098\u0080"},
    {"Utf8TruncatedTwoByteSequence", {0x61, 0xC3}, kOvEncodingUtf8, L"a\u00C3"},
    {"Utf8TruncatedThreeByteSequence", {0x61, 0xE2, 0x82}, kOvEncodingUtf8, L"a\u00E2\u0082"},
    {"Utf8StopsAtZeroByte", {0x61, 0x00, 0x62}, kOvEncodingUtf8, L"a"},
    {"Utf8StopsAtDecodedZero", {0x61, 0xC0, 0x80, 0x62}, kOvEncodingUtf8, L"a"},
    {"Utf16OddByteCount", {0x41, 0x00, 0x42}, kOvEncodingUtf16, L"AB"},
    {"Utf16BigEndianOddByteCount", {0xFE, 0xFF, 0x00, 0x41, 0x04}, kOvEncodingUtf16, L"A\u0400"},
    {"Utf16OneByte", {0x41}, kOvEncodingUtf16, L"A"},
    {"Utf16StopsAtZeroUnit", {0x41, 0x00, 0x00, 0x00, 0x42, 0x00}, kOvEncodingUtf16, L"A"},
    {"Utf16MarkOnly", {0xFF, 0xFE}, kOvEncodingUtf16, L""},
    {"Utf32TruncatedUnit", {0x41, 0, 0, 0, 0x42, 0x01}, kOvEncodingUtf32, L"A\u0142"},
    {"Utf32OneByte", {0x41}, kOvEncodingUtf32, L"A"},
    {"AnsiStopsAtZeroByte", {0x61, 0x62, 0x00, 0x63}, kOvEncodingAnsi, L"ab"},
    {"UnknownEncoding", {0x61}, 4, L""},
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, Text)
{
    const DecodeCase& c = GetParam();
    // The input is copied to a buffer of exactly its size, so a read past it is caught by the heap checks.
    std::vector<unsigned char> exact(c.bytes);
    const OvString text = DecodeText(exact.data(), static_cast<int>(exact.size()), c.encoding);
    EXPECT_EQ(std::wstring(text.c_str()), std::wstring(c.text));
    EXPECT_EQ(text.Length(), static_cast<int>(wcslen(c.text)));
}

INSTANTIATE_TEST_SUITE_P(Table, DecodeTest, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(OvStringEncoding, InputEndingAtAPageBoundaryIsNotReadPast)
{
    // The last bytes of the input sit at the end of a committed page, followed by a page that may
    // not be read: a decoder that reads past the input faults here.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const DWORD page = info.dwPageSize;
    auto* block = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    struct Tail {
        Bytes bytes;
        int encoding;
    };
    const Tail tails[] = {
        {{0x61, 0xE2, 0x82}, kOvEncodingUtf8},      {{0x61, 0xC3}, kOvEncodingUtf8},
        {{0x61, 0xE2, 0x82}, kOvEncodingAutomatic}, {{0x41, 0x00, 0x42}, kOvEncodingUtf16},
        {{0x41, 0, 0, 0, 0x42}, kOvEncodingUtf32},  {{0xFF, 0xFE, 0x41}, kOvEncodingAutomatic},
        {{0x61, 0x62}, kOvEncodingAnsi},            {{0x41, 0x00}, kOvEncodingAutomatic},
    };
    for (const Tail& t : tails) {
        unsigned char* start = block + page - t.bytes.size();
        memcpy(start, t.bytes.data(), t.bytes.size());
        const OvString text = DecodeText(start, static_cast<int>(t.bytes.size()), t.encoding);
        EXPECT_GE(text.Length(), 1);
    }
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST(OvStringEncoding, SaveTextFileWritesEachEncoding)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const OvString path = OvString(folder) + L"OvStringEncodingTest.txt";
    const wchar_t* text = L"A\u00E9\u20AC";
    struct Case {
        int encoding;
        Bytes bytes;
    };
    const Case cases[] = {
        {kOvEncodingUtf8, {0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC}},
        {kOvEncodingUtf16, {0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00, 0xAC, 0x20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        ASSERT_TRUE(SaveTextFile(path, text, c.encoding));
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        unsigned char buffer[64];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer, &read, nullptr);
        CloseHandle(file);
        EXPECT_EQ(Bytes(buffer, buffer + read), c.bytes);
        // Reading the file back with automatic detection gives the text again.
        EXPECT_STREQ(DecodeText(buffer, static_cast<int>(read), kOvEncodingAutomatic).c_str(), text);
    }
    // ANSI: the system code page's bytes for the text.
    ASSERT_TRUE(SaveTextFile(path, L"plain", kOvEncodingAnsi));
    std::string ansi;
    ASSERT_TRUE(EncodeText(L"plain", kOvEncodingAnsi, ansi));
    EXPECT_EQ(ansi, "plain");
    // A shorter text replaces the file's whole content.
    ASSERT_TRUE(SaveTextFile(path, L"", kOvEncodingUtf8));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 0u);
    EXPECT_FALSE(SaveTextFile(path, L"x", 7));
    DeleteFileW(path);
    EXPECT_FALSE(SaveTextFile(L"Q:\\no such folder\\x\\y.txt", L"x", kOvEncodingUtf8));
}

struct Base64Case {
    const char* name;
    std::string bytes;
    const wchar_t* text;
};

void PrintTo(const Base64Case& c, std::ostream* os) { *os << c.name; }

const Base64Case kBase64Cases[] = {
    {"ThreeBytes", "abc", L"YWJj"},
    {"TwoBytesOnePad", "ab", L"YWI="},
    {"OneByteTwoPads", "a", L"YQ=="},
    {"Empty", "", L""},
    {"AllSixBitValues", std::string("\x00\x10\x83\x10\x51\x87\x20\x92\x8b\x30\xd3\x8f\x41\x14\x93\x51\x55\x97"
                                    "\x61\x96\x9b\x71\xd7\x9f\x82\x18\xa3\x92\x59\xa7\xa2\x9a\xab\xb2\xdb\xaf"
                                    "\xc3\x1c\xb3\xd3\x5d\xb7\xe3\x9e\xbb\xf3\xdf\xbf", 48),
     L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"},
};

class Base64Test : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Test, EncodesAndDecodes)
{
    const Base64Case& c = GetParam();
    EXPECT_STREQ(EncodeBase64(c.bytes.data(), static_cast<int>(c.bytes.size())).c_str(), c.text);
    const std::vector<uint8_t> back = DecodeBase64(c.text);
    EXPECT_EQ(std::string(back.begin(), back.end()), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, Base64Test, testing::ValuesIn(kBase64Cases),
                         [](const testing::TestParamInfo<Base64Case>& info) { return std::string(info.param.name); });

TEST(OvStringBase64, LineFeedAfterEverySixtyFourCharacters)
{
    std::string bytes;
    for (int i = 0; i < 200; ++i) bytes += static_cast<char>(i * 7);
    struct Case {
        int count;
        int length;
        std::vector<int> feeds;
    };
    const Case cases[] = {
        {48, 64, {}},                  // exactly one full line, no line feed
        {49, 64 + 1 + 4, {64}},        // the 17th group starts a new line
        {96, 128 + 1, {64}},           // two full lines
        {97, 132 + 2, {64, 129}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const OvString text = EncodeBase64(bytes.data(), c.count);
        EXPECT_EQ(text.Length(), c.length);
        std::vector<int> feeds;
        for (int i = 0; i < text.Length(); ++i)
            if (text[i] == L'\n') feeds.push_back(i);
        EXPECT_EQ(feeds, c.feeds);
        const std::vector<uint8_t> back = DecodeBase64(text);
        EXPECT_EQ(std::string(back.begin(), back.end()), bytes.substr(0, c.count));
    }
}

TEST(OvStringBase64, DecodingIsLenient)
{
    auto decode = [](const wchar_t* text) {
        const std::vector<uint8_t> bytes = DecodeBase64(text);
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(decode(L"YW\r\nJj"), "abc");                            // line breaks skipped
    EXPECT_EQ(decode(L"YW*j"), "a`#");                                 // foreign characters count as 0 (as A)
    EXPECT_EQ(decode(L"YWI"), "ab");                                  // missing padding
    EXPECT_EQ(decode(L"YQ"), "a");
    EXPECT_EQ(decode(L"YWJjYQ=="), "abca");
    EXPECT_EQ(decode(L"YWJj===="), "abc");                            // padding never eats earlier groups
    EXPECT_EQ(decode(L"="), "");
    EXPECT_EQ(decode(L""), "");
    EXPECT_EQ(decode(nullptr), "");
}

}  // namespace
