#include "OvStringNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>

namespace {

// Characters written by std::to_chars for a double in fixed notation: sign, up to 309 integer
// digits, the point and the fraction.
constexpr int kMaxPrecision = 1100;
constexpr int kFixedRoom = 1 + 309 + 1 + kMaxPrecision + 8;
static_assert(kFixedRoom <= kOvDoubleTextRoom);

bool IsHexDigit(wchar_t c, unsigned& value)
{
    if (c >= L'0' && c <= L'9') value = c - L'0';
    else if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    else return false;
    return true;
}

bool IsDecimalDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

OvString IntToText(int64_t value)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    return OvString::FromNarrow(text, static_cast<int>(result.ptr - text));
}

int ParseInt(const wchar_t* text)
{
    if (!text) return 0;
    const OvStringGlobals* g = OvStringGlobals::Get();
    while (*text && g->IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
    int32_t value = 0;
    for (; IsDecimalDigit(*text); ++text) {
        const int digit = *text - L'0';
        if (value > (INT32_MAX - digit) / 10) {
            value = INT32_MAX;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

OvString HexToText(uint64_t value, int minDigits)
{
    if (minDigits > 16) minDigits = 16;
    wchar_t text[16];
    int n = 0;
    do {
        text[15 - n++] = L"0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value);
    while (n < minDigits) text[15 - n++] = L'0';
    return OvString(text + 16 - n, n);
}

uint64_t ParseHex(const wchar_t* text)
{
    if (!text) return 0;
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) text += 2;
    const OvStringGlobals* g = OvStringGlobals::Get();
    while (*text && g->IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
    uint64_t value = 0;
    for (unsigned digit; IsHexDigit(*text, digit); ++text) {
        if (value >> 60) return ~uint64_t(0);
        value = value << 4 | digit;
    }
    return negative ? 0 - value : value;
}

int WriteDoubleText(wchar_t* out, double value, int precision)
{
    char text[kFixedRoom];
    int length = 0;
    if (precision >= 0) {
        if (precision > kMaxPrecision) precision = kMaxPrecision;
        length = static_cast<int>(std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision).ptr - text);
    } else if (!std::isfinite(value)) {
        length = static_cast<int>(std::to_chars(text, text + sizeof text, value).ptr - text);
    } else {
        if (value == 0) value = 0;   // no sign for negative zero
        const bool integral = value == std::floor(value);
        // Integral values without fraction; others as the shortest text that reads back, or,
        // when that needs more than 16 fraction digits, 16 of them without trailing zeros.
        auto r = integral ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 0)
                          : std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
        length = static_cast<int>(r.ptr - text);
        int point = 0;
        while (point < length && text[point] != '.') ++point;
        if (!integral && length - point - 1 > 16) {
            r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 16);
            length = static_cast<int>(r.ptr - text);
            while (length > point && text[length - 1] == '0') --length;
            if (length == point + 1) --length;
            if (length == 2 && text[0] == '-' && text[1] == '0') {
                text[0] = '0';
                length = 1;
            }
        }
    }
    const wchar_t separator = GetDecimalSeparator();
    for (int i = 0; i < length; ++i) out[i] = text[i] == '.' ? separator : static_cast<unsigned char>(text[i]);
    return length;
}

OvString DoubleToText(double value)
{
    return DoubleToText(value, -1);
}

OvString DoubleToText(double value, int precision)
{
    wchar_t text[kOvDoubleTextRoom];
    return OvString(text, WriteDoubleText(text, value, precision));
}

double ParseDouble(const wchar_t* text)
{
    if (!text) return 0;
    while (*text == L' ' || *text == L'\t' || *text == L'+') ++text;
    std::string number;
    if (*text == L'-' || *text == 0x2012) {
        number += '-';
        ++text;
    }
    bool digits = false;
    for (; IsDecimalDigit(*text); ++text, digits = true) number += static_cast<char>(*text);
    if (*text == L'.' || *text == L',') {
        number += '.';
        for (++text; IsDecimalDigit(*text); ++text, digits = true) number += static_cast<char>(*text);
    }
    if (!digits) return 0;
    // Decimal exponent of the first significant digit, to tell overflow from underflow.
    int magnitude = 0;
    {
        size_t i = number[0] == '-' ? 1 : 0;
        while (i < number.size() && number[i] == '0') ++i;
        int integerDigits = 0;
        for (; i < number.size() && number[i] != '.'; ++i) ++integerDigits;
        if (integerDigits > 0) {
            magnitude = integerDigits - 1;
        } else if (i < number.size()) {
            int zeros = 0;
            for (++i; i < number.size() && number[i] == '0'; ++i) ++zeros;
            magnitude = -(zeros + 1);
        }
    }
    if (*text == L'e' || *text == L'E') {
        number += 'e';
        const int exponent = ParseInt(text + 1);
        magnitude = exponent > 0 && magnitude > INT32_MAX - exponent ? INT32_MAX
                    : exponent < 0 && magnitude < INT32_MIN - exponent ? INT32_MIN
                    : magnitude + exponent;
        char exp[16];
        auto r = std::to_chars(exp, exp + sizeof exp, exponent);
        number.append(exp, r.ptr);
    }
    const char* first = number.data();
    const char* last = first + number.size();
    double value = 0;
    auto r = std::from_chars(first, last, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero with the sign of the text.
        const bool negative = number[0] == '-';
        value = magnitude > 0 ? HUGE_VAL : 0.0;
        if (negative) value = -value;
    }
    return value;
}

wchar_t GetDecimalSeparator()
{
    static const wchar_t separator = [] {
        OvStringGlobals::Get();   // the manager sets the process locale
        char text[16] = {};
        snprintf(text, sizeof text, "%.1f", 1.1);
        return text[1] == ',' ? L',' : L'.';
    }();
    return separator;
}
