#include "TextService.h"

#include <cwchar>

namespace {
bool IgnoresCase(int mode) { return mode == 1 || mode == 3; }
}

int TextService::Find(const wchar_t* text, const wchar_t* pattern, int from, int mode)
{
    if (!text || !pattern) return -1;
    const int n = static_cast<int>(wcslen(text));
    const int m = static_cast<int>(wcslen(pattern));
    if (from < 0) from = 0;
    if (m == 0 || from > n - m) return -1;
    const OvStringGlobals* g = OvStringGlobals::Get();
    for (int i = from; i + m <= n; ++i) {
        int k = 0;
        if (IgnoresCase(mode))
            while (k < m && g->Fold(text[i + k]) == g->Fold(pattern[k])) ++k;
        else
            while (k < m && text[i + k] == pattern[k]) ++k;
        if (k == m) return i;
    }
    return -1;
}

int TextService::Compare(const wchar_t* a, const wchar_t* b, int mode, int)
{
    if (IgnoresCase(mode)) return CompareNoCase(a, b);
    return wcscmp(a ? a : L"", b ? b : L"");
}
