#include "OvString.h"

#include "OvStringSearch.h"

#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {
OvStringGlobals* Manager() { return OvStringGlobals::Get(); }

int TextLength(const wchar_t* text) { return text ? static_cast<int>(wcslen(text)) : 0; }
}

int CompareNoCase(const wchar_t* a, const wchar_t* b)
{
    if (!a) a = L"";
    if (!b) b = L"";
    const OvStringGlobals* g = Manager();
    const wchar_t* lower = g->LowerTable();
    for (;; ++a, ++b) {
        const wchar_t x = *a, y = *b;
        if (x == y) {
            if (!x) return 0;
            continue;
        }
        const int d = (x < 256 ? lower[x] : g->Fold(x)) - (y < 256 ? lower[y] : g->Fold(y));
        if (d != 0) return d;
    }
}

OvString::OvString() : chars_(Manager()->Empty()->Chars()) {}

OvString::OvString(const wchar_t* text)
    : chars_(Manager()->FromText(text, -1, -1, false, true, true)->Chars()) {}

OvString::OvString(const wchar_t* text, int length)
    : chars_(Manager()->FromText(text, length < 0 ? 0 : length, -1, false, false, true)->Chars()) {}

OvString::OvString(const OvString& other) : chars_(Manager()->Empty()->Chars())
{
    Attach(other.Header());
}

OvString::OvString(OvString&& other) noexcept : chars_(other.chars_)
{
    other.chars_ = Manager()->Empty()->Chars();
}

OvString::~OvString() { Release(); }

OvString& OvString::operator=(const OvString& other)
{
    if (this != &other && chars_ != other.chars_) {
        OvStringData* old = Header();
        chars_ = Manager()->Empty()->Chars();
        Attach(other.Header());
        OvString released(old);   // releases the old buffer after the new one is held
    }
    return *this;
}

OvString& OvString::operator=(OvString&& other) noexcept
{
    if (this != &other) {
        const wchar_t* taken = other.chars_;
        other.chars_ = chars_;
        chars_ = taken;
    }
    return *this;
}

OvString& OvString::operator=(const wchar_t* text)
{
    AssignText(text, -1);
    return *this;
}

OvString OvString::FromNarrow(const char* bytes, int length)
{
    return OvString(Manager()->FromNarrow(bytes, length));
}

void OvString::Attach(OvStringData* data)
{
    // Share when the buffer is ours to count; copy a buffer being written or from another manager.
    if (data->refs == kOvStaticRefs && data->manager == Manager()) {
        chars_ = data->Chars();
    } else if (data->refs != kOvWritingRefs && data->manager == Manager()) {
        InterlockedIncrement(&data->refs);
        chars_ = data->Chars();
    } else {
        chars_ = Manager()->FromText(data->Chars(), data->length, -1, false, true, true)->Chars();
    }
}

void OvString::Release()
{
    OvStringData* data = Header();
    if (data->refs == kOvStaticRefs) return;
    if (data->refs == kOvWritingRefs || InterlockedDecrement(&data->refs) == 0) data->manager->Free(data);
    chars_ = Manager()->Empty()->Chars();
}

void OvString::AssignText(const wchar_t* text, int length)
{
    if (length < 0) length = TextLength(text);
    OvStringData* data = Header();
    // Text that lies inside our own buffer must be copied before that buffer is touched.
    bool inside = text >= chars_ && text <= chars_ + data->length;
    if (data->refs == 1 && !inside && data->capacity > length) {
        wmemcpy(const_cast<wchar_t*>(chars_), text, length);
        data->length = length;
        const_cast<wchar_t*>(chars_)[length] = 0;
        return;
    }
    OvString copy(Manager()->FromText(text, length, -1, false, true, true));
    *this = static_cast<OvString&&>(copy);
}

wchar_t* OvString::PrepareWrite(int minCapacity)
{
    OvStringData* data = Header();
    if (minCapacity < data->length) minCapacity = data->length;
    if ((data->refs == 1 || data->refs == kOvWritingRefs) && data->capacity > minCapacity)
        return const_cast<wchar_t*>(chars_);
    OvStringData* fresh = Manager()->Allocate(minCapacity, true);
    wmemcpy(fresh->Chars(), chars_, data->length + 1);
    fresh->length = data->length;
    LONG writing = data->refs == kOvWritingRefs;
    Release();
    chars_ = fresh->Chars();
    if (writing) fresh->refs = kOvWritingRefs;
    return fresh->Chars();
}

wchar_t* OvString::GetBuffer(int minCapacity)
{
    wchar_t* buffer = PrepareWrite(minCapacity < 0 ? 0 : minCapacity);
    Header()->refs = kOvWritingRefs;
    return buffer;
}

void OvString::ReleaseBuffer(int newLength)
{
    OvStringData* data = Header();
    if (data->refs == kOvStaticRefs) return;
    wchar_t* chars = const_cast<wchar_t*>(chars_);
    if (newLength < 0) {
        newLength = 0;
        while (newLength < data->capacity - 1 && chars[newLength]) ++newLength;
    }
    if (newLength > data->capacity - 1) newLength = data->capacity - 1;
    data->length = newLength;
    chars[newLength] = 0;
    if (data->refs == kOvWritingRefs) data->refs = 1;
}

void OvString::Empty() { Release(); }

OvString& OvString::Append(const wchar_t* text, int length)
{
    if (length < 0) length = TextLength(text);
    if (length == 0) return *this;
    const int old = Length();
    if (text >= chars_ && text <= chars_ + old) {
        OvString copy(text, length);   // appending a piece of ourselves
        return Append(copy.chars_, copy.Length());
    }
    if (length > 0x3FFFFFFF - old) length = 0x3FFFFFFF - old;
    int want = old + length;
    int capacity = Header()->capacity - 1;
    if (capacity < want && Header()->refs == 1) want += want / 2;   // room for the next append
    wchar_t* out = PrepareWrite(want);
    wmemcpy(out + old, text, length);
    Header()->length = old + length;
    out[old + length] = 0;
    return *this;
}

OvString& OvString::Append(wchar_t c) { return Append(&c, 1); }

bool OvString::Equals(const wchar_t* text) const
{
    if (!text) return IsEmpty();
    return wcscmp(chars_, text) == 0;
}

bool OvString::EqualsNoCase(const wchar_t* text) const { return ::CompareNoCase(chars_, text) == 0; }

int OvString::CompareNoCase(const wchar_t* text) const { return ::CompareNoCase(chars_, text); }

int OvString::Find(wchar_t c, int from) const
{
    if (from < 0) from = 0;
    if (from >= Length()) return -1;
    const wchar_t* hit = wmemchr(chars_ + from, c, Length() - from);
    return hit ? static_cast<int>(hit - chars_) : -1;
}

int OvString::Find(const wchar_t* text, int from) const
{
    if (from < 0) from = 0;
    const int n = TextLength(text);
    if (from > Length() || n > Length() - from) return -1;
    if (n == 0) return from;
    return FindExact(chars_, Length(), text, n, from);
}

int OvString::FindNoCase(const wchar_t* text, int from) const
{
    return OvTextSearch(false).Find(chars_, Length(), text, TextLength(text), from);
}

int OvString::ReverseFind(wchar_t c) const
{
    for (int i = Length() - 1; i >= 0; --i)
        if (chars_[i] == c) return i;
    return -1;
}

bool OvString::StartsWith(const wchar_t* text) const
{
    const int n = TextLength(text);
    return n <= Length() && wmemcmp(chars_, text, n) == 0;
}

bool OvString::StartsWithNoCase(const wchar_t* text) const
{
    const int n = TextLength(text);
    if (n > Length()) return false;
    const OvStringGlobals* g = Manager();
    for (int i = 0; i < n; ++i)
        if (g->Fold(chars_[i]) != g->Fold(text[i])) return false;
    return true;
}

bool OvString::EndsWith(const wchar_t* text) const
{
    const int n = TextLength(text);
    return n <= Length() && wmemcmp(chars_ + Length() - n, text, n) == 0;
}

bool OvString::EndsWithNoCase(const wchar_t* text) const
{
    const int n = TextLength(text);
    return n <= Length() && ::CompareNoCase(chars_ + Length() - n, text) == 0;
}

OvString OvString::Left(int count) const { return Mid(0, count); }

OvString OvString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (first > Length()) first = Length();
    if (count < 0 || count > Length() - first) count = Length() - first;
    if (first == 0 && count == Length()) return *this;
    return OvString(Manager()->FromText(chars_ + first, count, -1, false, true, true));
}

OvString OvString::Right(int count) const
{
    if (count < 0) count = 0;
    if (count > Length()) count = Length();
    return Mid(Length() - count, count);
}

OvString& OvString::TrimLeft()
{
    const OvStringGlobals* g = Manager();
    int n = 0;
    while (n < Length() && g->IsSpace(chars_[n])) ++n;
    if (n > 0) *this = Mid(n);
    return *this;
}

OvString& OvString::TrimRight()
{
    const OvStringGlobals* g = Manager();
    int n = Length();
    while (n > 0 && g->IsSpace(chars_[n - 1])) --n;
    if (n < Length()) *this = Left(n);
    return *this;
}

OvString& OvString::Trim()
{
    const OvStringGlobals* g = Manager();
    int last = Length();
    while (last > 0 && g->IsSpace(chars_[last - 1])) --last;
    int first = 0;
    while (first < last && g->IsSpace(chars_[first])) ++first;
    if (first > 0 || last < Length()) *this = Mid(first, last - first);
    return *this;
}

OvString& OvString::MakeLower()
{
    if (IsEmpty()) return *this;
    wchar_t* out = PrepareWrite(Length());
    const OvStringGlobals* g = Manager();
    for (int i = 0; i < Length(); ++i) out[i] = g->Fold(out[i]);
    return *this;
}

OvString& OvString::MakeUpper()
{
    if (IsEmpty()) return *this;
    wchar_t* out = PrepareWrite(Length());
    for (int i = 0; i < Length(); ++i) out[i] = static_cast<wchar_t>(towupper(out[i]));
    return *this;
}

int OvString::ReplaceChar(wchar_t oldChar, wchar_t newChar)
{
    if (oldChar == newChar || IsEmpty()) return 0;
    int first = Find(oldChar);
    if (first < 0) return 0;
    wchar_t* out = PrepareWrite(Length());
    int count = 0;
    for (int i = first; i < Length(); ++i) {
        if (out[i] == oldChar) {
            out[i] = newChar;
            ++count;
        }
    }
    return count;
}

OvString operator+(const OvString& a, const OvString& b)
{
    OvString r(a);
    r.Append(b.c_str(), b.Length());
    return r;
}

OvString operator+(const OvString& a, const wchar_t* b)
{
    OvString r(a);
    r.Append(b);
    return r;
}

OvString operator+(const wchar_t* a, const OvString& b)
{
    OvString r(a);
    r.Append(b.c_str(), b.Length());
    return r;
}

OvString operator+(const OvString& a, wchar_t b)
{
    OvString r(a);
    r.Append(b);
    return r;
}
