#include "OvStringSearch.h"

#include "OvProductLibraries.h"
#include "OvToolsInterface.h"

#include <cwchar>

namespace {

int TextLength(const wchar_t* text) { return text ? static_cast<int>(wcslen(text)) : 0; }

// True when text at the position starts with the pattern, folding both sides.
bool MatchesFolded(const OvStringGlobals* g, const wchar_t* text, const wchar_t* pattern, int patternLength)
{
    for (int k = 0; k < patternLength; ++k)
        if (g->Fold(text[k]) != g->Fold(pattern[k])) return false;
    return true;
}

}  // namespace

uint64_t HashNoCase(const wchar_t* text)
{
    if (!text) return 0;
    const OvStringGlobals* g = OvStringGlobals::Get();
    uint64_t h = 0;
    for (; *text; ++text) h = h * 65599u + g->Fold(*text);
    return h;
}

int FindExact(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from)
{
    if (!text || !pattern || patternLength <= 0) return -1;
    if (from < 0) from = 0;
    const wchar_t first = pattern[0];
    const int last = textLength - patternLength;   // last position a hit can start at
    for (int i = from; i <= last;) {
        const wchar_t* hit = wmemchr(text + i, first, last - i + 1);
        if (!hit) return -1;
        i = static_cast<int>(hit - text);
        if (wmemcmp(hit + 1, pattern + 1, patternLength - 1) == 0) return i;
        ++i;
    }
    return -1;
}

int FindFolded(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from)
{
    if (!text || !pattern || patternLength <= 0) return -1;
    if (from < 0) from = 0;
    const OvStringGlobals* g = OvStringGlobals::Get();
    const wchar_t first = g->Fold(pattern[0]);
    const int last = textLength - patternLength;
    for (int i = from; i <= last; ++i) {
        if (g->Fold(text[i]) == first && MatchesFolded(g, text + i + 1, pattern + 1, patternLength - 1)) return i;
    }
    return -1;
}

IOvTextService* GetTextService()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetTextService(0) : nullptr;
}

OvTextSearch::OvTextSearch(bool exactCase) : exact_(exactCase), service_(exactCase ? nullptr : GetTextService()) {}

int OvTextSearch::Find(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from) const
{
    if (exact_) return FindExact(text, textLength, pattern, patternLength, from);
    if (service_) {
        if (!text || !pattern || patternLength <= 0 || from > textLength - patternLength) return -1;
        return service_->Find(text, pattern, from < 0 ? 0 : from, 3);
    }
    return FindFolded(text, textLength, pattern, patternLength, from);
}

int CompareText(const wchar_t* a, const wchar_t* b, int mode, int flag)
{
    if (IOvTextService* service = GetTextService()) return service->Compare(a ? a : L"", b ? b : L"", mode, flag);
    return CompareTextOwn(a, b, mode);
}

int CompareTextOwn(const wchar_t* a, const wchar_t* b, int mode)
{
    if (mode == 1 || mode == 3) return CompareNoCase(a, b);
    return wcscmp(a ? a : L"", b ? b : L"");
}

bool FindEnclosed(const wchar_t* text, int& start, int& end, const wchar_t* open, const wchar_t* close, int from,
                  bool includeDelimiters, bool nested, bool allowUnclosed)
{
    start = end = -1;
    const int length = TextLength(text);
    const int openLength = TextLength(open);
    const int closeLength = TextLength(close);
    if (openLength == 0 || closeLength == 0) return false;

    const int openAt = OvTextSearch(false).Find(text, length, open, openLength, from);
    if (openAt < 0) return false;

    const OvStringGlobals* g = OvStringGlobals::Get();
    int closeAt = -1;
    int level = 0;
    for (int i = openAt + openLength; i + closeLength <= length;) {
        // A close text is taken before an open text at the same place, so equal delimiters pair up.
        if (MatchesFolded(g, text + i, close, closeLength)) {
            if (level == 0) {
                closeAt = i;
                break;
            }
            --level;
            i += closeLength;
        } else if (nested && i + openLength <= length && MatchesFolded(g, text + i, open, openLength)) {
            ++level;
            i += openLength;
        } else {
            ++i;
        }
    }

    if (closeAt < 0 && !allowUnclosed) return false;
    start = includeDelimiters ? openAt : openAt + openLength;
    if (closeAt < 0)
        end = length;
    else
        end = includeDelimiters ? closeAt + closeLength : closeAt;
    return true;
}

OvCoreArray<OvTextRange> FindComments(const wchar_t* text)
{
    OvCoreArray<OvTextRange> ranges;
    int start = 0, end = 0;
    for (int from = 0; FindEnclosed(text, start, end, L"<!--", L"-->", from, true, true, false); from = start + 1)
        ranges.Add({start, end});
    return ranges;
}
