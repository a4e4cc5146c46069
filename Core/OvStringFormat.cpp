#include "OvStringFormat.h"

#include "OvStringEncoding.h"
#include "OvStringNumbers.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kWorkArea = 32;
// Widths beyond this cannot fit the work area anyway; larger values are cut to it.
constexpr int kWidthLimit = kWorkArea + 1;

// Collects the output on the stack and makes the string once, at its final length.
class Output {
public:
    void Put(const wchar_t* text, int n)
    {
        if (n <= 0) return;
        if (n > kRoom - used_) {
            spill_.Append(room_, used_);
            used_ = 0;
            if (n > kRoom) {
                spill_.Append(text, n);
                return;
            }
        }
        wmemcpy(room_ + used_, text, n);
        used_ += n;
    }
    void Put(wchar_t c) { Put(&c, 1); }

    OvString Finish()
    {
        if (spill_.IsEmpty()) return OvString::Adopt(OvStringGlobals::Get()->FromText(room_, used_, -1, false, true, true));
        spill_.Append(room_, used_);
        return static_cast<OvString&&>(spill_);
    }

private:
    static constexpr int kRoom = 512;
    wchar_t room_[kRoom];
    int used_ = 0;
    OvString spill_;
};

// Puts a number text of length n, cut to the work area with a final '?' when it is longer.
void PutNumber(Output& out, const wchar_t* text, int n)
{
    if (n <= kWorkArea) {
        out.Put(text, n);
        return;
    }
    out.Put(text, kWorkArea - 1);
    out.Put(L'?');
}

void WriteInteger(Output& out, uint64_t magnitude, bool negative, unsigned base, bool upper, int minDigits, bool blank)
{
    const wchar_t* digitSet = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    wchar_t digits[64];
    int n = 0;
    do {
        digits[63 - n++] = digitSet[magnitude % base];
        magnitude /= base;
    } while (magnitude);

    if (minDigits > kWidthLimit) minDigits = kWidthLimit;
    const int fill = minDigits > n ? minDigits - n : 0;
    wchar_t text[kWidthLimit + 66];
    int length = 0;
    if (blank)
        for (int i = 0; i < fill; ++i) text[length++] = L' ';
    if (negative) text[length++] = L'-';
    if (!blank)
        for (int i = 0; i < fill; ++i) text[length++] = L'0';
    wmemcpy(text + length, digits + 64 - n, n);
    PutNumber(out, text, length + n);
}

void WriteDouble(Output& out, double value, int precision, int width, bool blank)
{
    wchar_t number[kOvDoubleTextRoom];
    const int length = WriteDoubleText(number, value, precision);
    if (width > kWidthLimit) width = kWidthLimit;
    const int fill = width > length ? width - length : 0;
    if (fill == 0) {
        PutNumber(out, number, length);
        return;
    }
    // Only short numbers get here: the filled text is at most the width limit.
    wchar_t text[kWidthLimit];
    const bool sign = number[0] == L'-';
    const bool digitsFirst = number[sign ? 1 : 0] >= L'0' && number[sign ? 1 : 0] <= L'9';
    int n = 0;
    if (blank || !digitsFirst) {
        for (int i = 0; i < fill; ++i) text[n++] = L' ';
        wmemcpy(text + n, number, length);
    } else {
        if (sign) text[n++] = L'-';
        for (int i = 0; i < fill; ++i) text[n++] = L'0';
        wmemcpy(text + n, number + (sign ? 1 : 0), length - (sign ? 1 : 0));
    }
    PutNumber(out, text, width);
}

void WriteText(Output& out, const OvFormatArg* arg, int maxUnits)
{
    if (!arg) return;
    const wchar_t* text = nullptr;
    int length = 0;
    OvString decoded;
    switch (arg->kind()) {
    case OvFormatArg::kWide:
        text = arg->wide() ? arg->wide() : L"(null)";
        length = static_cast<int>(wcslen(text));
        break;
    case OvFormatArg::kString:
        text = arg->string()->c_str();
        length = arg->string()->Length();
        break;
    case OvFormatArg::kNarrow:
        if (arg->narrow()) {
            decoded = DecodeUtf8(arg->narrow(), static_cast<int>(strlen(arg->narrow())));
            text = decoded.c_str();
            length = decoded.Length();
        } else {
            text = L"(null)";
            length = 6;
        }
        break;
    default:
        return;
    }
    if (maxUnits >= 0 && maxUnits < length) length = maxUnits;
    out.Put(text, length);
}

int ReadNumber(const wchar_t*& p)
{
    int value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if (value < 100000) value = value * 10 + (*p - L'0');
    return value;
}

}  // namespace

OvString& OvString::FormatArgs(const wchar_t* format, const OvFormatArg* args, int count)
{
    Output out;
    int next = 0;
    for (const wchar_t* p = format; p && *p;) {
        if (*p != L'%') {
            const wchar_t* start = p;
            while (*p && *p != L'%') ++p;
            out.Put(start, static_cast<int>(p - start));
            continue;
        }
        ++p;
        const bool blank = *p == L' ';
        if (blank) ++p;
        const int width = *p >= L'0' && *p <= L'9' ? ReadNumber(p) : -1;
        int precision = -1;
        if (*p == L'.') {
            ++p;
            precision = ReadNumber(p);
        }
        bool wide64 = false;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4' && (p[3] == L'd' || p[3] == L'u')) {
            p += 3;
            wide64 = true;
        } else if (p[0] == L'l' && (p[1] == L'd' || p[1] == L's' || p[1] == L'x' || p[1] == L'u')) {
            ++p;
        }
        const wchar_t letter = *p;
        if (!letter) break;
        ++p;
        if (letter == L'%') {
            out.Put(L'%');
            continue;
        }

        const OvFormatArg* arg = next < count ? &args[next] : nullptr;
        ++next;
        const bool isInteger = arg && arg->kind() == OvFormatArg::kInteger;
        const int64_t value = isInteger ? arg->integer() : 0;
        // A 32-bit argument reads as 32 bits unless I64 asks for all of it.
        const bool narrow = isInteger && arg->is32() && !wide64;
        const int64_t asSigned = narrow ? static_cast<int32_t>(value) : value;
        const uint64_t asUnsigned = narrow ? static_cast<uint32_t>(value) : static_cast<uint64_t>(value);
        const int digits = width >= 0 ? width : (precision >= 0 ? precision : 0);
        switch (letter) {
        case L'c':
            if (isInteger && value >= 1 && value <= 65535) out.Put(static_cast<wchar_t>(value));
            break;
        case L'd':
        case L'i':
            WriteInteger(out, asSigned < 0 ? 0 - static_cast<uint64_t>(asSigned) : static_cast<uint64_t>(asSigned),
                         asSigned < 0, 10, false, digits, blank);
            break;
        case L'u':
            WriteInteger(out, asUnsigned, false, 10, false, digits, blank);
            break;
        case L'x':
        case L'X':
            WriteInteger(out, asUnsigned, false, 16, letter == L'X', digits, blank);
            break;
        case L'p':
            WriteInteger(out, asUnsigned, false, 16, true, 8, false);
            break;
        case L'h':
            out.Put(L"0x", 2);
            WriteInteger(out, asUnsigned, false, 16, true, 8, false);
            break;
        case L'f':
            if (arg && arg->kind() == OvFormatArg::kDouble) WriteDouble(out, arg->real(), precision, width, blank);
            break;
        case L's':
            WriteText(out, arg, width);
            break;
        default:
            out.Put(letter);
            break;
        }
    }
    *this = out.Finish();
    return *this;
}

OvString OvFormatArgs(const wchar_t* format, const OvFormatArg* args, int count)
{
    OvString result;
    result.FormatArgs(format, args, count);
    return result;
}
