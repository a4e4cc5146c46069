#include "OvStringFormat.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kWorkArea = 32;

// Writes digits of value in the given base, at least minDigits of them, filled with fill.
// A number that does not fit the work area ends in '?'.
void WriteNumber(OvString& out, uint64_t value, bool negative, int base, bool upper, int minDigits, wchar_t fill)
{
    wchar_t work[kWorkArea + 1];
    int n = 0;
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    do {
        work[n++] = digits[value % base];
        value /= base;
    } while (value && n < kWorkArea);
    const int signRoom = negative ? 1 : 0;
    int width = minDigits;
    if (width > kWorkArea - signRoom) width = kWorkArea - signRoom;
    while (n < width) work[n++] = fill;
    bool overflow = value != 0 || minDigits > kWorkArea - signRoom;
    if (negative) {
        if (fill == L'0' || n >= kWorkArea) {
            if (n >= kWorkArea) { overflow = true; n = kWorkArea - 1; }
            work[n++] = L'-';
        } else {
            // blank fill: the sign goes directly before the digits
            int first = n;
            while (first > 0 && work[first - 1] == L' ') --first;
            for (int i = n; i > first; --i) work[i] = work[i - 1];
            work[first] = L'-';
            ++n;
        }
    }
    wchar_t text[kWorkArea + 2];
    for (int i = 0; i < n; ++i) text[i] = work[n - 1 - i];
    if (overflow) text[n - 1] = L'?';
    out.Append(text, n);
}

void WriteText(OvString& out, const OvFormatArg* arg, int maxUnits)
{
    OvString text;
    if (!arg) return;
    switch (arg->kind()) {
    case OvFormatArg::kWide:
        text = arg->wide() ? OvString(arg->wide()) : OvString(L"(null)");
        break;
    case OvFormatArg::kString:
        text = *arg->string();
        break;
    case OvFormatArg::kNarrow:
        if (!arg->narrow()) {
            text = L"(null)";
        } else {
            int bytes = static_cast<int>(strlen(arg->narrow()));
            int units = MultiByteToWideChar(CP_UTF8, 0, arg->narrow(), bytes, nullptr, 0);
            wchar_t* buffer = text.GetBuffer(units);
            MultiByteToWideChar(CP_UTF8, 0, arg->narrow(), bytes, buffer, units);
            text.ReleaseBuffer(units);
        }
        break;
    default:
        return;
    }
    int n = text.Length();
    if (maxUnits >= 0 && maxUnits < n) n = maxUnits;
    out.Append(text.c_str(), n);
}

void WriteDouble(OvString& out, double value, int precision, int width, bool blank)
{
    char work[kWorkArea + 1];
    int n = precision >= 0 ? snprintf(work, sizeof work, blank ? "%*.*f" : "%0*.*f", width, precision, value)
                           : snprintf(work, sizeof work, blank ? "%*g" : "%0*g", width, value);
    if (n < 0) return;
    if (n >= static_cast<int>(sizeof work)) {
        n = kWorkArea;
        work[n - 1] = '?';
    }
    out += OvString::FromNarrow(work, n);
}

}  // namespace

OvString OvFormatArgs(const wchar_t* format, const OvFormatArg* args, int count)
{
    OvString out;
    if (!format) return out;
    int next = 0;
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            const wchar_t* start = p;
            while (*p && *p != L'%') ++p;
            out.Append(start, static_cast<int>(p - start));
            continue;
        }
        ++p;
        bool blank = false;
        if (*p == L' ') { blank = true; ++p; }
        int width = -1, precision = -1;
        if (*p >= L'0' && *p <= L'9') {
            width = 0;
            while (*p >= L'0' && *p <= L'9') { if (width < 100000) width = width * 10 + (*p - L'0'); ++p; }
        }
        if (*p == L'.') {
            ++p;
            precision = 0;
            while (*p >= L'0' && *p <= L'9') { if (precision < 100000) precision = precision * 10 + (*p - L'0'); ++p; }
        }
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4' && (p[3] == L'd' || p[3] == L'u')) p += 3;
        else if (*p == L'l' && (p[1] == L'd' || p[1] == L's' || p[1] == L'x' || p[1] == L'u')) ++p;
        const wchar_t letter = *p;
        if (!letter) break;
        ++p;
        if (letter == L'%') { out.Append(L'%'); continue; }
        const OvFormatArg* arg = next < count ? &args[next] : nullptr;
        ++next;
        const bool isInteger = arg && arg->kind() == OvFormatArg::kInteger;
        const int64_t value = isInteger ? arg->integer() : 0;
        const int digits = width >= 0 ? width : (precision >= 0 ? precision : 0);
        const wchar_t fill = blank ? L' ' : L'0';
        switch (letter) {
        case L'c':
            if (isInteger && value >= 1 && value <= 65535) out.Append(static_cast<wchar_t>(value));
            break;
        case L'd':
        case L'i':
            WriteNumber(out, value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value), value < 0,
                        10, false, digits, fill);
            break;
        case L'u':
            WriteNumber(out, static_cast<uint64_t>(value), false, 10, false, digits, fill);
            break;
        case L'x':
        case L'X':
            WriteNumber(out, static_cast<uint64_t>(value), false, 16, letter == L'X', digits, fill);
            break;
        case L'p':
            WriteNumber(out, static_cast<uint32_t>(value), false, 16, true, 8, L'0');
            break;
        case L'h':
            out.Append(L"0x");
            WriteNumber(out, static_cast<uint32_t>(value), false, 16, true, 8, L'0');
            break;
        case L'f':
            if (arg && arg->kind() == OvFormatArg::kDouble) WriteDouble(out, arg->real(), precision, width < 0 ? 0 : width, blank);
            break;
        case L's':
            WriteText(out, arg, width);
            break;
        default:
            out.Append(letter);
            break;
        }
    }
    return out;
}
