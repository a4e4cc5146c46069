#include "OvStringTokens.h"

#include "OvStringLeadingCharacters.h"

namespace {

const OvStringLeadingWhitespaceCharacters kWhitespace;
const OvStringLeadingWordCharacters kWord;
const OvStringLeadingDigitCharacters kDigits;

// Length of the run of the kind at text, 0 when none starts there.
int RunLength(const OvStringLeadingCharacters& kind, const wchar_t* text)
{
    int n = 0;
    while (text[n] && kind.StartsAt(text + n, n == 0)) ++n;
    return n;
}

}  // namespace

int Tokenize(const wchar_t* text, OvStringArray& tokens, OvNumberArray& kinds)
{
    int count = 0;
    if (!text) return 0;
    for (const wchar_t* p = text; *p; ++count) {
        int kind = kOvTokenOther;
        int n = RunLength(kWhitespace, p);
        if (n) {
            kind = kOvTokenWhitespace;
        } else if ((n = RunLength(kWord, p)) != 0) {
            kind = kOvTokenWord;
        } else if ((n = RunLength(kDigits, p)) != 0) {
            kind = kOvTokenDigits;
        } else {
            n = 1;
        }
        tokens.Add(OvString(p, n));
        kinds.Add(kind);
        p += n;
    }
    return count;
}

int NextWordOrNumber(const OvString& text, int& position, OvString& token)
{
    const OvString source(text);   // token may be the text itself
    token.Empty();
    if (position < 0 || position >= source.Length()) return kOvTokenNone;
    const wchar_t* p = source.c_str() + position;
    int kind = kOvTokenWord;
    int n = RunLength(kWord, p);
    if (!n) {
        kind = kOvTokenDigits;
        n = RunLength(kDigits, p);
    }
    if (!n) return kOvTokenNone;
    token = OvString(p, n);
    position += n;
    return kind;
}
