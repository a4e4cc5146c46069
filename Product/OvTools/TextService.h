#pragma once
// Search and ordering of texts; modes 1 and 3 ignore case.

#include "OvToolsInterface.h"

class TextService : public IOvTextService {
public:
    int Find(const wchar_t* text, const wchar_t* pattern, int from, int mode) override;
    int Compare(const wchar_t* a, const wchar_t* b, int mode, int flag) override;
};
