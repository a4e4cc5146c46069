#include "OvStringEntities.h"

#include "OvStringNumbers.h"

#include <cwchar>

namespace {

struct NamedEntity {
    const wchar_t* name;
    wchar_t character;
};

// The names as HTML 4.01 assigns them, with these exceptions: nbsp is a plain space, ndash and
// mdash are '-', rsquo and apos are '\''.
const NamedEntity kNamedEntities[] = {
    {L"gt", 0x3E},      {L"lt", 0x3C},      {L"amp", 0x26},     {L"deg", 0xB0},     {L"ETH", 0xD0},
    {L"eth", 0xF0},     {L"not", 0xAC},     {L"reg", 0xAE},     {L"shy", 0xAD},     {L"uml", 0xA8},
    {L"yen", 0xA5},     {L"auml", 0xE4},    {L"apos", 0x27},    {L"Auml", 0xC4},    {L"cent", 0xA2},
    {L"copy", 0xA9},    {L"Euml", 0xCB},    {L"euml", 0xEB},    {L"Iuml", 0xCF},    {L"iuml", 0xEF},
    {L"macr", 0xAF},    {L"nbsp", 0x20},    {L"ordf", 0xAA},    {L"ordm", 0xBA},    {L"Ouml", 0xD6},
    {L"ouml", 0xF6},    {L"para", 0xB6},    {L"quot", 0x22},    {L"sect", 0xA7},    {L"sup1", 0xB9},
    {L"sup2", 0xB2},    {L"sup3", 0xB3},    {L"Uuml", 0xDC},    {L"uuml", 0xFC},    {L"yuml", 0xFF},
    {L"ndash", 0x2D},   {L"mdash", 0x2D},   {L"iexcl", 0xA1},   {L"pound", 0xA3},   {L"rsquo", 0x27},
    {L"ldquo", 0x201C}, {L"rdquo", 0x201D}, {L"Acirc", 0xC2},   {L"acirc", 0xE2},   {L"acute", 0xB4},
    {L"AElig", 0xC6},   {L"aelig", 0xE6},   {L"Aring", 0xC5},   {L"aring", 0xE5},   {L"cedil", 0xB8},
    {L"Ecirc", 0xCA},   {L"ecirc", 0xEA},   {L"Icirc", 0xCE},   {L"icirc", 0xEE},   {L"laquo", 0xAB},
    {L"micro", 0xB5},   {L"Ocirc", 0xD4},   {L"ocirc", 0xF4},   {L"raquo", 0xBB},   {L"szlig", 0xDF},
    {L"THORN", 0xDE},   {L"thorn", 0xFE},   {L"times", 0xD7},   {L"Ucirc", 0xDB},   {L"ucirc", 0xFB},
    {L"Aacute", 0xC1},  {L"aacute", 0xE1},  {L"Agrave", 0xC0},  {L"agrave", 0xE0},  {L"Atilde", 0xC3},
    {L"atilde", 0xE3},  {L"brvbar", 0xA6},  {L"Ccedil", 0xC7},  {L"ccedil", 0xE7},  {L"curren", 0xA4},
    {L"divide", 0xF7},  {L"Eacute", 0xC9},  {L"eacute", 0xE9},  {L"Egrave", 0xC8},  {L"egrave", 0xE8},
    {L"frac14", 0xBC},  {L"frac12", 0xBD},  {L"frac34", 0xBE},  {L"hellip", 0x2026}, {L"Iacute", 0xCD},
    {L"iacute", 0xED},  {L"Igrave", 0xCC},  {L"igrave", 0xEC},  {L"iquest", 0xBF},  {L"middot", 0xB7},
    {L"Ntilde", 0xD1},  {L"ntilde", 0xF1},  {L"plusmn", 0xB1},  {L"Oacute", 0xD3},  {L"oacute", 0xF3},
    {L"Ograve", 0xD2},  {L"ograve", 0xF2},  {L"Oslash", 0xD8},  {L"oslash", 0xF8},  {L"Otilde", 0xD5},
    {L"otilde", 0xF5},  {L"Uacute", 0xDA},  {L"uacute", 0xFA},  {L"Ugrave", 0xD9},  {L"ugrave", 0xF9},
    {L"Yacute", 0xDD},  {L"yacute", 0xFD},
};
static_assert(sizeof kNamedEntities / sizeof kNamedEntities[0] == 107);

constexpr int kLongestName = 6;

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

// The character of reference ref[0, length) (the text between '&' and ';'), or 0 when it is none.
wchar_t Resolve(const wchar_t* ref, int length)
{
    if (length <= kLongestName) {
        for (const NamedEntity& entity : kNamedEntities)
            if (static_cast<int>(wcslen(entity.name)) == length && wmemcmp(entity.name, ref, length) == 0)
                return entity.character;
    }
    if (length < 3 || ref[0] != L'#') return 0;
    if ((ref[1] == L'x' || ref[1] == L'X') && (length == 4 || length == 6)) {
        bool hex = true;
        for (int i = 2; i < length; ++i) hex = hex && IsHexDigit(ref[i]);
        if (hex) return static_cast<wchar_t>(ParseHex(OvString(ref + 2, length - 2)));
    }
    bool decimalForm = length == 3 || length == 4;
    if (length == 5) {
        decimalForm = true;
        for (int i = 1; i < 5; ++i) decimalForm = decimalForm && IsHexDigit(ref[i]);
    }
    if (!decimalForm) return 0;
    // The decimal parse stops at the first character that is not a digit.
    const int value = ParseInt(OvString(ref + 1, length - 1));
    return value > 0 && value <= 0xFFFF ? static_cast<wchar_t>(value) : 0;
}

}  // namespace

OvString EncodeEntities(const wchar_t* text, bool attribute)
{
    OvString result;
    if (!text) return result;
    const wchar_t* run = text;
    for (const wchar_t* p = text;; ++p) {
        const wchar_t c = *p;
        const wchar_t* escape = nullptr;
        wchar_t single = 0;
        switch (c) {
        case L'&': escape = L"&amp;"; break;
        case L'<': escape = L"&lt;"; break;
        case L'>': escape = L"&gt;"; break;
        case L'"': if (attribute) escape = L"&quot;"; break;
        case L'\'': if (attribute) escape = L"&apos;"; break;
        case 1: escape = L"&#x1;"; break;
        case L'\t': case L'\n': case L'\r': break;
        default: if (c > 0 && c < 0x20) single = L'?'; break;
        }
        if (!escape && !single && c) continue;
        result.Append(run, static_cast<int>(p - run));
        if (!c) break;
        if (escape) result.Append(escape);
        else result.Append(single);
        run = p + 1;
    }
    return result;
}

int DecodeEntities(OvString& text)
{
    const int length = text.Length();
    const wchar_t* in = text.c_str();
    int firstAmpersand = text.Find(L'&');
    if (firstAmpersand < 0) return 0;

    // Decoding only shortens the text, so it is written into one buffer of the old length.
    OvString result;
    wchar_t* out = result.GetBuffer(length);
    wmemcpy(out, in, firstAmpersand);
    int n = firstAmpersand;
    int decoded = 0;
    int semicolon = -1;      // the next ';' after the last search
    bool noneLeft = false;   // no ';' follows the last search position
    for (int i = firstAmpersand; i < length;) {
        if (in[i] != L'&') {
            out[n++] = in[i++];
            continue;
        }
        if (!noneLeft && semicolon <= i) {
            const wchar_t* found = wmemchr(in + i + 1, L';', length - i - 1);
            semicolon = found ? static_cast<int>(found - in) : -1;
            noneLeft = !found;
        }
        const wchar_t c = !noneLeft ? Resolve(in + i + 1, semicolon - i - 1) : 0;
        if (c) {
            out[n++] = c;
            i = semicolon + 1;
            ++decoded;
        } else {
            out[n++] = in[i++];
        }
    }
    result.ReleaseBuffer(n);
    if (decoded) text = static_cast<OvString&&>(result);
    return decoded;
}
