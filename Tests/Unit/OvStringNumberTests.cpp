#include "OvStringNumbers.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <string>

namespace {

// The expected double text with '.' standing for the process's decimal separator.
std::wstring Localised(const wchar_t* text)
{
    std::wstring s(text);
    for (wchar_t& c : s)
        if (c == L'.') c = GetDecimalSeparator();
    return s;
}

TEST(OvStringNumbers, DecimalWrite)
{
    EXPECT_STREQ(IntToText(0).c_str(), L"0");
    EXPECT_STREQ(IntToText(-42).c_str(), L"-42");
    EXPECT_STREQ(IntToText(INT64_MIN).c_str(), L"-9223372036854775808");
    EXPECT_STREQ(IntToText(2147483647).c_str(), L"2147483647");
}

struct ParseIntCase {
    const char* name;
    const wchar_t* text;
    int value;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const ParseIntCase& c, std::ostream* os) { *os << c.name; }

const ParseIntCase kParseIntCases[] = {
    {"Plain", L"123", 123},
    {"LeadingWhiteSpace", L" \t\r\n42", 42},
    {"Minus", L"-17", -17},
    {"Plus", L"+17", 17},
    {"StopsAtFirstNonDigit", L"12ab34", 12},
    {"NoDigits", L"abc", 0},
    {"Empty", L"", 0},
    {"SignAlone", L"-", 0},
    {"BlankAfterSignStops", L"- 5", 0},
    {"Largest", L"2147483647", 2147483647},
    {"OverflowStopsAtLargest", L"2147483648", 2147483647},
    {"NegativeOverflow", L"-99999999999", -2147483647},
    {"OverflowIgnoresTheRest", L"99999999999999999999", 2147483647},
};

class ParseIntTest : public testing::TestWithParam<ParseIntCase> {};

TEST_P(ParseIntTest, Value)
{
    EXPECT_EQ(ParseInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, ParseIntTest, testing::ValuesIn(kParseIntCases),
                         [](const testing::TestParamInfo<ParseIntCase>& info) { return std::string(info.param.name); });

TEST(OvStringNumbers, HexadecimalWriteAndParse)
{
    EXPECT_STREQ(HexToText(6699).c_str(), L"00001A2B");
    EXPECT_STREQ(HexToText(0).c_str(), L"00000000");
    EXPECT_STREQ(HexToText(0x123456789ABCDEFull).c_str(), L"123456789ABCDEF");
    EXPECT_STREQ(HexToText(255, 2).c_str(), L"FF");
    EXPECT_STREQ(HexToText(~0ull, 40).c_str(), L"FFFFFFFFFFFFFFFF");

    EXPECT_EQ(ParseHex(L"00001A2B"), 6699u);
    EXPECT_EQ(ParseHex(L"0x00001a2b"), 6699u);
    EXPECT_EQ(ParseHex(L"0X1A2B"), 6699u);
    EXPECT_EQ(ParseHex(L"1a2bz9"), 6699u);
    EXPECT_EQ(ParseHex(L"  ff"), 255u);
    EXPECT_EQ(ParseHex(L"-1"), ~0ull);
    EXPECT_EQ(ParseHex(L""), 0u);
    EXPECT_EQ(ParseHex(L"FFFFFFFFFFFFFFFF"), ~0ull);
    EXPECT_EQ(ParseHex(L"10000000000000000"), ~0ull);   // 17 digits overflow
    EXPECT_EQ(ParseHex(L"123456789ABCDEF0123"), ~0ull);
}

struct DoubleWriteCase {
    const char* name;
    double value;
    const wchar_t* text;   // '.' stands for the decimal separator
};

void PrintTo(const DoubleWriteCase& c, std::ostream* os) { *os << c.name; }

const DoubleWriteCase kDoubleWriteCases[] = {
    {"Integral", 42.0, L"42"},
    {"NegativeIntegral", -3.0, L"-3"},
    {"Zero", 0.0, L"0"},
    {"NegativeZero", -0.0, L"0"},
    {"Half", 0.5, L"0.5"},
    {"NegativeFraction", -2.25, L"-2.25"},
    {"ShortestThatReadsBack", 0.1, L"0.1"},
    {"SixteenDigitsAtMost", 0.1 + 0.2, L"0.3"},
    {"TinyRoundsToZero", 1e-20, L"0"},
    {"LargeIntegral", 1e20, L"100000000000000000000"},
    {"ManyDigits", 123456.789012, L"123456.789012"},
};

class DoubleWriteTest : public testing::TestWithParam<DoubleWriteCase> {};

TEST_P(DoubleWriteTest, Text)
{
    EXPECT_EQ(std::wstring(DoubleToText(GetParam().value).c_str()), Localised(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, DoubleWriteTest, testing::ValuesIn(kDoubleWriteCases),
                         [](const testing::TestParamInfo<DoubleWriteCase>& info) { return std::string(info.param.name); });

TEST(OvStringNumbers, DoubleWriteReadsBack)
{
    const double values[] = {1.0 / 3, 2.0 / 3, 3.14159265358979, 1e-5, 123456789.125, -0.001};
    for (double v : values) {
        SCOPED_TRACE(v);
        EXPECT_EQ(ParseDouble(DoubleToText(v)), v);
    }
}

struct DoubleParseCase {
    const char* name;
    const wchar_t* text;
    double value;
};

void PrintTo(const DoubleParseCase& c, std::ostream* os) { *os << c.name; }

const DoubleParseCase kDoubleParseCases[] = {
    {"Point", L"2.5", 2.5},
    {"Comma", L"2,5", 2.5},
    {"BlanksAndPlus", L"  +7.25", 7.25},
    {"Minus", L"-1.5", -1.5},
    {"FigureDashAsMinus", L"\u20121.5", -1.5},
    {"Exponent", L"1.5e3", 1500},
    {"NegativeExponent", L"25E-2", 0.25},
    {"ExponentWithoutDigits", L"4e", 4},
    {"StopsAtOtherCharacters", L"3.5kg", 3.5},
    {"OnlyOneDecimalPoint", L"1.2.3", 1.2},
    {"NoIntegerPart", L".5", 0.5},
    {"NoDigits", L"abc", 0},
    {"Empty", L"", 0},
    {"TooLarge", L"1e999", HUGE_VAL},
    {"TooSmall", L"1e-999", 0},
    {"ManyDigits", L"00000000000000000000000000000012.5", 12.5},
};

class DoubleParseTest : public testing::TestWithParam<DoubleParseCase> {};

TEST_P(DoubleParseTest, Value)
{
    EXPECT_EQ(ParseDouble(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, DoubleParseTest, testing::ValuesIn(kDoubleParseCases),
                         [](const testing::TestParamInfo<DoubleParseCase>& info) { return std::string(info.param.name); });

TEST(OvStringNumbers, DecimalSeparatorIsTheLocalesPointOrComma)
{
    wchar_t expected[16] = {};
    _snwprintf(expected, 15, L"%.1f", 1.1);
    const wchar_t separator = GetDecimalSeparator();
    EXPECT_TRUE(separator == L'.' || separator == L',');
    if (expected[1] == L'.' || expected[1] == L',') {
        EXPECT_EQ(separator, expected[1]);
    }
    EXPECT_EQ(DoubleToText(0.5, 2)[1], separator);
}

TEST(OvStringNumbers, FixedPrecisionWrite)
{
    EXPECT_EQ(std::wstring(DoubleToText(2.345, 1).c_str()), Localised(L"2.3"));
    EXPECT_EQ(std::wstring(DoubleToText(-1.0, 3).c_str()), Localised(L"-1.000"));
    EXPECT_STREQ(DoubleToText(2.5, 0).c_str(), L"2");
    // A precision beyond any double's digits still fits.
    EXPECT_EQ(DoubleToText(1e300, 5000).Length(), 301 + 1 + 1100);
}

}  // namespace
