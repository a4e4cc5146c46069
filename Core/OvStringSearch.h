#pragma once
// Hashing, search and ordering that ignore case, and the search for enclosed ranges.

#include "OvCoreArray.h"
#include "OvString.h"

#include <cstdint>

struct IOvTextService;

// h = h * 65599 + folded unit over all units (64-bit wrap-around); 0 for an empty text.
uint64_t HashNoCase(const wchar_t* text);

// Plain code-unit search in text[0, textLength) from the position; -1 when not found or the
// pattern is empty.
int FindExact(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from);
// The same, folding both sides as CompareNoCase does.
int FindFolded(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from);

// The tools library's text service, or null when the library is not loaded.
IOvTextService* GetTextService();

// Substring search for one operation: exact, or ignoring case through the tools library's text
// search (mode 3), falling back to FindFolded when the library is not loaded. The service is
// looked up once, when the object is made.
class OvTextSearch {
public:
    explicit OvTextSearch(bool exactCase);
    // text must end at text[textLength] with a NUL.
    int Find(const wchar_t* text, int textLength, const wchar_t* pattern, int patternLength, int from) const;

private:
    bool exact_;
    IOvTextService* service_;
};

// Ordering through the tools library's text service (compare with mode and flag); without the
// library, modes 1 and 3 order as CompareNoCase and the others by code unit.
int CompareText(const wchar_t* a, const wchar_t* b, int mode, int flag);
// The ordering CompareText uses without the tools library.
int CompareTextOwn(const wchar_t* a, const wchar_t* b, int mode);

// Finds the open text at or after from (ignoring case), then its close text (ignoring case);
// with nesting, every open text met on the way needs a close text of its own. The range runs
// over the delimiters when they are included, else between them. A missing close text ends the
// range at the end of the text when allowed; otherwise, and when the open text is missing,
// start = end = -1 and the result is false.
bool FindEnclosed(const wchar_t* text, int& start, int& end, const wchar_t* open, const wchar_t* close, int from,
                  bool includeDelimiters, bool nested, bool allowUnclosed);

struct OvTextRange {
    int start;
    int end;
};

// The "<!--" ... "-->" ranges of the text (delimiters included, nested comments counted); each
// search after a found range starts one character after its start.
OvCoreArray<OvTextRange> FindComments(const wchar_t* text);
