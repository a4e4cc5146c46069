#include "OvStringLeadingCharacters.h"

#include "OvStringGlobals.h"

namespace {

bool HasClass(wchar_t c, uint8_t bits) { return c && (OvStringGlobals::Get()->ClassOf(c) & bits) != 0; }

}  // namespace

bool OvStringLeadingWhitespaceCharacters::StartsAt(const wchar_t* at, bool) const
{
    return at && HasClass(*at, kOvSpace);
}

bool OvStringLeadingAlphaCharacters::StartsAt(const wchar_t* at, bool) const
{
    return at && HasClass(*at, kOvLetter);
}

bool OvStringLeadingWordCharacters::StartsAt(const wchar_t* at, bool firstOfRun) const
{
    if (!at || !*at) return false;
    if (HasClass(at[0], kOvLetter)) return true;
    if (at[0] == L'\'') return !firstOfRun && HasClass(at[1], kOvLetter);
    if (at[0] == L'-' || at[0] == 0x2012) return HasClass(at[1], kOvLetter);
    return false;
}

bool OvStringLeadingDigitCharacters::StartsAt(const wchar_t* at, bool) const
{
    return at && HasClass(*at, kOvDigit);
}
