// Multi-pattern replace of OvString.

#include "OvCoreArray.h"
#include "OvString.h"
#include "OvStringSearch.h"

#include <cwchar>
#include <new>
#include <vector>

namespace {

int TextLength(const wchar_t* text) { return text ? static_cast<int>(wcslen(text)) : 0; }

wchar_t* Put(wchar_t* out, const wchar_t* text, int length)
{
    if (length > 0) wmemcpy(out, text, length);
    return out + length;
}

}  // namespace

int OvString::Replace(const wchar_t* const* patterns, const wchar_t* const* replacements, int count, bool exactCase,
                      bool keepMatch, const wchar_t* prefix, const wchar_t* suffix)
{
    if (count < 1 || !patterns) return 0;
    std::vector<int> patternLengths(count);
    std::vector<int> replacementLengths(count, 0);
    for (int i = 0; i < count; ++i) {
        patternLengths[i] = TextLength(patterns[i]);
        if (patternLengths[i] == 0) return 0;
        if (replacements) replacementLengths[i] = TextLength(replacements[i]);
    }

    // Each pattern's next occurrence is remembered and searched again only once the position has
    // passed it: the earliest occurrence at or after the position is then still the right one.
    constexpr int kNotSearched = -2;
    std::vector<int> next(count, kNotSearched);
    OvCoreArray<OvStringReplaceHit> hits;
    const OvTextSearch search(exactCase);
    const int length = Length();
    for (int position = 0;;) {
        int best = -1;
        for (int i = 0; i < count; ++i) {
            if (next[i] != -1 && next[i] < position)
                next[i] = search.Find(chars_, length, patterns[i], patternLengths[i], position);
            if (next[i] >= 0 && (best < 0 || next[i] < next[best])) best = i;
        }
        if (best < 0) break;
        hits.Add({best, next[best]});
        position = next[best] + patternLengths[best];
    }
    if (hits.IsEmpty()) return 0;

    // Measure the result, then write it into one buffer of that length.
    const int prefixLength = TextLength(prefix);
    const int suffixLength = TextLength(suffix);
    int64_t total = length;
    for (const OvStringReplaceHit& hit : hits) {
        const int inserted = keepMatch ? patternLengths[hit.pattern] : replacementLengths[hit.pattern];
        total += prefixLength + inserted + suffixLength - patternLengths[hit.pattern];
    }
    if (total > 0x3FFFFFFF) throw std::bad_alloc();

    OvString result(OvStringGlobals::Get()->Allocate(static_cast<int>(total), true));
    wchar_t* out = const_cast<wchar_t*>(result.chars_);
    int copied = 0;
    for (const OvStringReplaceHit& hit : hits) {
        out = Put(out, chars_ + copied, hit.position - copied);
        out = Put(out, prefix, prefixLength);
        if (keepMatch)
            out = Put(out, chars_ + hit.position, patternLengths[hit.pattern]);
        else if (replacements)
            out = Put(out, replacements[hit.pattern], replacementLengths[hit.pattern]);
        out = Put(out, suffix, suffixLength);
        copied = hit.position + patternLengths[hit.pattern];
    }
    out = Put(out, chars_ + copied, length - copied);
    *out = 0;
    *this = static_cast<OvString&&>(result);
    return hits.GetCount();
}

int OvString::Replace(const wchar_t* pattern, const wchar_t* replacement, bool exactCase)
{
    return Replace(&pattern, &replacement, 1, exactCase);
}
