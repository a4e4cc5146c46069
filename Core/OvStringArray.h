#pragma once
// An ordered array of OvString; copying shares the items' buffers.

#include "OvCoreArray.h"
#include "OvString.h"

class OvStringArray : public OvCoreArray<OvString> {
public:
    using OvCoreArray<OvString>::RemoveAll;

    OvStringArray() = default;
    OvStringArray(std::initializer_list<OvString> items) : OvCoreArray<OvString>(items) {}

    // Replaces the items with the pieces of text between separators and returns their number.
    // An empty text gives none; an empty or missing separator gives the whole text. Items may be
    // empty, but a separator at the very end adds none. With trim, white space directly before
    // and after each separator is left out of the neighbouring items.
    int Split(const wchar_t* text, const wchar_t* separator, bool trim = false);

    // The items with the separator between them, in order or reversed.
    OvString Join(const wchar_t* separator, bool reverse = false) const;
    OvString JoinWithBackslash(bool reverse = false) const { return Join(L"\\", reverse); }

    // Index of the first item equal to the text (exactly or by CompareNoCase), or, when not
    // whole items are asked for, of the first item containing it (exact search, or the search
    // ignoring case); empty items and an empty text never match a part. -1 when none.
    int FindInArray(const wchar_t* text, bool exactCase, bool wholeItem = true) const;

    // Removes every item equal to the text, exactly or ignoring case; returns how many.
    int RemoveAll(const wchar_t* text, bool exact);

    // Keeps the first of each group of items equal ignoring case; returns how many went. Above
    // 16 items equality is judged by HashNoCase.
    int RemoveDuplicates();

    // Orders the items through the text service's comparison with the mode (1 ignores case).
    void Sort(int mode = 1);

    // The item and the position in it of a character offset into the concatenated items; an
    // offset at the very end gives the end of the last item. False when out of range.
    bool FindOffset(int offset, int& item, int& position) const;
};
