#include "OvStringFormat.h"
#include "OvStringNumbers.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

struct FormatCase {
    const char* name;
    const wchar_t* format;
    std::vector<OvFormatArg> args;
    const wchar_t* result;   // '.' in a double's text stands for the decimal separator
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

const OvString kStringArg(L"str");

const FormatCase kFormatCases[] = {
    // Text and percent signs.
    {"PlainText", L"no conversions", {}, L"no conversions"},
    {"Percent", L"100%%", {}, L"100%"},
    {"PercentTakesNoSlot", L"%%%d", {OvFormatArg(5)}, L"%5"},
    {"TrailingPercentIgnored", L"abc%", {}, L"abc"},
    // Decimal.
    {"Decimal", L"%d", {OvFormatArg(42)}, L"42"},
    {"DecimalI", L"%i", {OvFormatArg(-42)}, L"-42"},
    {"WidthFillsZeros", L"%5d", {OvFormatArg(42)}, L"00042"},
    {"TwoDigits", L"%02d", {OvFormatArg(7)}, L"07"},
    {"BlankFlagFillsBlanks", L"% 5d", {OvFormatArg(42)}, L"   42"},
    {"PrecisionWithoutWidth", L"%.3d", {OvFormatArg(5)}, L"005"},
    {"WidthBeforePrecision", L"%4.2d", {OvFormatArg(5)}, L"0005"},
    {"NegativeZeroFilled", L"%5d", {OvFormatArg(-42)}, L"-00042"},
    {"NegativeBlankFilled", L"% 5d", {OvFormatArg(-42)}, L"   -42"},
    {"WidthSmallerThanNumber", L"%2d", {OvFormatArg(12345)}, L"12345"},
    {"SixtyFourBitSlot", L"%d", {OvFormatArg(int64_t(-9000000000))}, L"-9000000000"},
    {"I64Prefix", L"%I64d", {OvFormatArg(int64_t(1) << 40)}, L"1099511627776"},
    {"LongPrefixSkipped", L"%ld|%lu|%lx|%ls", {OvFormatArg(1), OvFormatArg(2), OvFormatArg(255), OvFormatArg(L"s")},
     L"1|2|ff|s"},
    {"SmallestInt64", L"%d", {OvFormatArg(INT64_MIN)}, L"-9223372036854775808"},
    // Unsigned and hexadecimal.
    {"UnsignedOfNegativeInt", L"%u", {OvFormatArg(-1)}, L"4294967295"},
    {"UnsignedOfNegativeInt64", L"%u", {OvFormatArg(int64_t(-1))}, L"18446744073709551615"},
    {"I64UnsignedOfNegativeInt", L"%I64u", {OvFormatArg(-1)}, L"18446744073709551615"},
    {"HexLower", L"%x", {OvFormatArg(0xBEEF)}, L"beef"},
    {"HexUpper", L"%X", {OvFormatArg(0xBEEF)}, L"BEEF"},
    {"HexOfNegativeInt", L"%x", {OvFormatArg(-1)}, L"ffffffff"},
    {"HexOfNegativeInt64", L"%X", {OvFormatArg(int64_t(-2))}, L"FFFFFFFFFFFFFFFE"},
    {"HexWidth", L"%08X", {OvFormatArg(0x1A2B)}, L"00001A2B"},
    {"HexBlankWidth", L"% 6x", {OvFormatArg(255)}, L"    ff"},
    {"UnsignedLongFromDword", L"%u", {OvFormatArg(4294967295ul)}, L"4294967295"},
    {"DecimalOfDwordReadsThirtyTwoBits", L"%d", {OvFormatArg(4294967295ul)}, L"-1"},
    // Pointers.
    {"Pointer", L"%p", {OvFormatArg(255)}, L"000000FF"},
    {"HandleStyle", L"%h", {OvFormatArg(0xABC)}, L"0x00000ABC"},
    {"PointerOfNegative", L"%p", {OvFormatArg(-1)}, L"FFFFFFFF"},
    {"PointerArgument", L"%p", {OvFormatArg(reinterpret_cast<const void*>(0x1234))}, L"00001234"},
    // Characters.
    {"Character", L"[%c]", {OvFormatArg(0x41)}, L"[A]"},
    {"CharacterHigh", L"%c", {OvFormatArg(0x263A)}, L"\u263A"},
    {"CharacterZeroGivesNothing", L"[%c]", {OvFormatArg(0)}, L"[]"},
    {"CharacterOutOfRange", L"[%c]", {OvFormatArg(65536)}, L"[]"},
    // Texts.
    {"WideText", L"<%s>", {OvFormatArg(L"wide")}, L"<wide>"},
    {"NarrowTextIsUtf8", L"<%s>", {OvFormatArg("caf\xC3\xA9")}, L"<caf\u00E9>"},
    {"StringObject", L"<%s>", {OvFormatArg(kStringArg)}, L"<str>"},
    {"NullWideText", L"%s", {OvFormatArg(static_cast<const wchar_t*>(nullptr))}, L"(null)"},
    {"NullNarrowText", L"%s", {OvFormatArg(static_cast<const char*>(nullptr))}, L"(null)"},
    {"NullPointerLiteral", L"%s", {OvFormatArg(nullptr)}, L"(null)"},
    {"WidthLimitsText", L"%3s", {OvFormatArg(L"abcdef")}, L"abc"},
    {"WidthLongerThanText", L"%9s|", {OvFormatArg(L"ab")}, L"ab|"},
    // Doubles.
    {"DoubleShortest", L"%f", {OvFormatArg(2.5)}, L"2.5"},
    {"DoubleIntegral", L"%f", {OvFormatArg(3.0)}, L"3"},
    {"DoublePrecision", L"%.2f", {OvFormatArg(3.14159)}, L"3.14"},
    {"DoublePrecisionZero", L"%.0f", {OvFormatArg(7.25)}, L"7"},
    {"DoubleWidthZeros", L"%8.2f", {OvFormatArg(-3.14159)}, L"-0003.14"},
    {"DoubleWidthBlanks", L"% 8.2f", {OvFormatArg(-3.14159)}, L"   -3.14"},
    // Missing slots and slots of the wrong kind.
    {"MissingSlotDecimalReadsZero", L"%d", {}, L"0"},
    {"MissingSlotWidth", L"%3d", {}, L"000"},
    {"MissingSlotText", L"[%s]", {}, L"[]"},
    {"MissingSlotDouble", L"[%f]", {}, L"[]"},
    {"TextForDecimalReadsZero", L"%d", {OvFormatArg(L"12")}, L"0"},
    {"TextForHex", L"%x", {OvFormatArg("ff")}, L"0"},
    {"IntegerForText", L"[%s]", {OvFormatArg(5)}, L"[]"},
    {"IntegerForDouble", L"[%f]", {OvFormatArg(5)}, L"[]"},
    {"DoubleForDecimal", L"%d", {OvFormatArg(2.5)}, L"0"},
    {"DoubleForCharacter", L"[%c]", {OvFormatArg(65.0)}, L"[]"},
    {"SlotsTakenInOrder", L"%s=%d (%s)", {OvFormatArg(L"a"), OvFormatArg(1)}, L"a=1 ()"},
    {"UnknownLetterStandsForItself", L"%q%d", {OvFormatArg(1), OvFormatArg(2)}, L"q2"},
    {"I64OnlyBeforeDOrU", L"%I64x", {OvFormatArg(1)}, L"I64x"},
    // Numbers wider than the 32-character work area.
    {"WidthOverflow", L"%40d", {OvFormatArg(5)}, L"0000000000000000000000000000000?"},
    {"BlankWidthOverflow", L"% 40d", {OvFormatArg(5)}, L"                               ?"},
    {"HugeWidth", L"%99999999999d|", {OvFormatArg(5)}, L"0000000000000000000000000000000?|"},
    {"ExactlyThirtyTwo", L"%32x", {OvFormatArg(1)}, L"00000000000000000000000000000001"},
    {"SignPushesOver", L"%32d", {OvFormatArg(-1)}, L"-000000000000000000000000000000?"},
    {"DoubleOverflow", L"%f", {OvFormatArg(1e40)}, L"1000000000000000030378602842700?"},
    {"DoublePrecisionOverflow", L"%.40f", {OvFormatArg(0.5)}, L"0.50000000000000000000000000000?"},
    {"DoubleWidthOverflow", L"%50f", {OvFormatArg(1.0)}, L"0000000000000000000000000000000?"},
};

class FormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, Output)
{
    const FormatCase& c = GetParam();
    std::wstring expected(c.result);
    for (wchar_t& ch : expected)
        if (ch == L'.' && c.args.size() == 1 && c.args[0].kind() == OvFormatArg::kDouble) ch = GetDecimalSeparator();
    const OvString out = OvFormatArgs(c.format, c.args.data(), static_cast<int>(c.args.size()));
    EXPECT_EQ(std::wstring(out.c_str()), expected);
    EXPECT_EQ(out.Length(), static_cast<int>(expected.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, FormatTest, testing::ValuesIn(kFormatCases),
                         [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(OvStringFormat, TemplateAndMemberFormsTakeTypedArguments)
{
    OvString s(L"old");
    s.Format(L"%s has %d files of %I64u bytes", OvString(L"Dist"), 42, uint64_t(5000000000));
    EXPECT_STREQ(s.c_str(), L"Dist has 42 files of 5000000000 bytes");
    // An argument may be the string being formatted.
    s.Format(L"[%s]", s);
    EXPECT_STREQ(s.c_str(), L"[Dist has 42 files of 5000000000 bytes]");
    const WORD year = 2024;
    const bool flag = true;
    const wchar_t letter = L'Z';
    EXPECT_STREQ(OvFormat(L"%04d %d %c", year, flag, letter).c_str(), L"2024 1 Z");
    EXPECT_STREQ(OvFormat(L"%d", 1u << 31).c_str(), L"-2147483648");
    EXPECT_STREQ(OvFormat(nullptr).c_str(), L"");
}

TEST(OvStringFormat, TwentySlotsAreRead)
{
    std::vector<OvFormatArg> args;
    std::wstring format, expected;
    for (int i = 0; i < kOvFormatMaxArgs; ++i) {
        args.emplace_back(i);
        format += L"%d,";
        expected += std::to_wstring(i) + L",";
    }
    EXPECT_EQ(std::wstring(OvFormatArgs(format.c_str(), args.data(), kOvFormatMaxArgs).c_str()), expected);
}

}  // namespace
