#include "OvStringNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cwctype>
#include <set>
#include <string>

namespace {

struct CounterCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* next;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const CounterCase& c, std::ostream* os) { *os << c.name; }

const CounterCase kCounterCases[] = {
    {"NoCounter", L"Name", L"Name (1)"},
    {"CounterWithBlank", L"Name (3)", L"Name (4)"},
    {"CounterWithoutBlank", L"Name(3)", L"Name(4)"},
    {"FourDigits", L"Copy (9999)", L"Copy (10000)"},
    {"FiveDigitsIsNoCounter", L"Copy (12345)", L"Copy (12345) (1)"},
    {"LeadingZeroIsNoCounter", L"Copy (0)", L"Copy (0) (1)"},
    {"LeadingZeroOfMoreDigits", L"Copy (07)", L"Copy (07) (1)"},
    {"EmptyParentheses", L"Copy ()", L"Copy () (1)"},
    {"NotAtTheEnd", L"Copy (2) x", L"Copy (2) x (1)"},
    {"OnlyOneBlankRemoved", L"Two  (2)", L"Two  (3)"},
    {"LettersInside", L"Copy (2a)", L"Copy (2a) (1)"},
    {"CounterAlone", L"(5)", L"(6)"},
    {"Empty", L"", L" (1)"},
};

class NextCounterNameTest : public testing::TestWithParam<CounterCase> {};

TEST_P(NextCounterNameTest, Result)
{
    EXPECT_STREQ(NextCounterName(GetParam().text).c_str(), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Table, NextCounterNameTest, testing::ValuesIn(kCounterCases),
                         [](const testing::TestParamInfo<CounterCase>& info) { return std::string(info.param.name); });

TEST(OvStringNames, GuidTextHasTheRegistryForm)
{
    std::set<std::wstring> seen;
    for (int i = 0; i < 50; ++i) {
        const OvString guid = NewGuidText();
        ASSERT_EQ(guid.Length(), 38);
        EXPECT_EQ(guid[0], L'{');
        EXPECT_EQ(guid[37], L'}');
        for (int k = 1; k < 37; ++k) {
            if (k == 9 || k == 14 || k == 19 || k == 24)
                EXPECT_EQ(guid[k], L'-') << k;
            else
                EXPECT_TRUE(iswxdigit(guid[k]) && !iswlower(guid[k])) << k;
        }
        GUID parsed;
        EXPECT_EQ(CLSIDFromString(const_cast<wchar_t*>(guid.c_str()), &parsed), NOERROR);
        seen.insert(guid.c_str());
    }
    EXPECT_EQ(seen.size(), 50u);
}

}  // namespace
