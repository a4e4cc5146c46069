#include "OvStringArray.h"

#include "OvStringArraySort.h"
#include "OvStringCRCUniqueList.h"
#include "OvStringSearch.h"

#include <cwchar>
#include <new>
#include <vector>

namespace {

int TextLength(const wchar_t* text) { return text ? static_cast<int>(wcslen(text)) : 0; }

OvString Piece(const wchar_t* text, int length)
{
    return OvString::Adopt(OvStringGlobals::Get()->FromText(text, length, -1, false, true, true));
}

constexpr int kPairwiseLimit = 16;

}  // namespace

int OvStringArray::Split(const wchar_t* text, const wchar_t* separator, bool trim)
{
    // The new items are gathered apart, so the text may be one of the items.
    std::vector<OvString> pieces;
    const int length = TextLength(text);
    const int separatorLength = TextLength(separator);
    if (length > 0) {
        std::vector<int> hits;
        for (int at = FindExact(text, length, separator, separatorLength, 0); at >= 0;
             at = FindExact(text, length, separator, separatorLength, at + separatorLength))
            hits.push_back(at);
        if (hits.empty()) {
            pieces.push_back(Piece(text, length));
        } else {
            const OvStringGlobals* g = OvStringGlobals::Get();
            pieces.reserve(hits.size() + 1);
            int start = 0;
            for (int at : hits) {
                int end = at;
                if (trim)
                    while (end > start && g->IsSpace(text[end - 1])) --end;
                pieces.push_back(Piece(text + start, end - start));
                start = at + separatorLength;
                if (trim)
                    while (start < length && g->IsSpace(text[start])) ++start;
            }
            // Nothing after the last separator (but white space, with trim) adds no item.
            if (start < length) pieces.push_back(Piece(text + start, length - start));
        }
    }
    items_.swap(pieces);
    return GetCount();
}

OvString OvStringArray::Join(const wchar_t* separator, bool reverse) const
{
    const int count = GetCount();
    if (count == 0) return OvString();
    if (count == 1) return items_[0];
    const int separatorLength = TextLength(separator);
    int64_t total = static_cast<int64_t>(separatorLength) * (count - 1);
    for (const OvString& item : items_) total += item.Length();
    if (total > 0x3FFFFFFF) throw std::bad_alloc();
    if (total == 0) return OvString();

    OvString result;
    wchar_t* out = result.GetBuffer(static_cast<int>(total));
    for (int k = 0; k < count; ++k) {
        if (k > 0 && separatorLength) {
            wmemcpy(out, separator, separatorLength);
            out += separatorLength;
        }
        const OvString& item = items_[reverse ? count - 1 - k : k];
        wmemcpy(out, item.c_str(), item.Length());
        out += item.Length();
    }
    result.ReleaseBuffer(static_cast<int>(total));
    return result;
}

int OvStringArray::FindInArray(const wchar_t* text, bool exactCase, bool wholeItem) const
{
    const int count = GetCount();
    if (wholeItem) {
        for (int i = 0; i < count; ++i)
            if (exactCase ? items_[i].Equals(text) : ::CompareNoCase(items_[i], text) == 0) return i;
        return -1;
    }
    const int length = TextLength(text);
    if (length == 0) return -1;
    const OvTextSearch search(exactCase);
    for (int i = 0; i < count; ++i) {
        const OvString& item = items_[i];
        if (!item.IsEmpty() && search.Find(item, item.Length(), text, length, 0) >= 0) return i;
    }
    return -1;
}

int OvStringArray::RemoveAll(const wchar_t* text, bool exact)
{
    int removed = 0;
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (exact ? items_[i].Equals(text) : ::CompareNoCase(items_[i], text) == 0) {
            RemoveAt(i);
            ++removed;
        }
    }
    return removed;
}

int OvStringArray::RemoveDuplicates()
{
    const int count = GetCount();
    std::vector<bool> duplicate(count, false);
    if (count <= kPairwiseLimit) {
        for (int i = 1; i < count; ++i)
            for (int k = 0; k < i && !duplicate[i]; ++k)
                if (!duplicate[k] && ::CompareNoCase(items_[k], items_[i]) == 0) duplicate[i] = true;
    } else {
        OvStringCRCUniqueList seen(count);
        for (int i = 0; i < count; ++i) duplicate[i] = !seen.Add(items_[i]);
    }
    // Keep the first of each group, in order.
    int kept = 0;
    for (int i = 0; i < count; ++i)
        if (!duplicate[i]) {
            if (kept != i) items_[kept] = static_cast<OvString&&>(items_[i]);
            ++kept;
        }
    SetCount(kept);
    return count - kept;
}

void OvStringArray::Sort(int mode)
{
    if (GetCount() < 2) return;
    OvStringArraySort(mode).Sort(*this);
}

bool OvStringArray::FindOffset(int offset, int& item, int& position) const
{
    item = position = -1;
    if (offset < 0) return false;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const int length = items_[i].Length();
        if (offset < length) {
            item = i;
            position = offset;
            return true;
        }
        offset -= length;
    }
    if (offset == 0 && count > 0) {
        item = count - 1;
        position = items_[count - 1].Length();
        return true;
    }
    return false;
}
