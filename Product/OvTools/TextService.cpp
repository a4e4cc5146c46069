#include "TextService.h"

#include "OvStringSearch.h"

#include <cwchar>

namespace {
bool IgnoresCase(int mode) { return mode == 1 || mode == 3; }
}

int TextService::Find(const wchar_t* text, const wchar_t* pattern, int from, int mode)
{
    if (!text || !pattern) return -1;
    const int n = static_cast<int>(wcslen(text));
    const int m = static_cast<int>(wcslen(pattern));
    return IgnoresCase(mode) ? FindFolded(text, n, pattern, m, from) : FindExact(text, n, pattern, m, from);
}

int TextService::Compare(const wchar_t* a, const wchar_t* b, int mode, int)
{
    return CompareTextOwn(a, b, mode);
}
