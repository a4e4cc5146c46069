#include "OvStringGlobals.h"

#include "OvLock.h"

#include <clocale>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <new>

namespace {
// Largest length that keeps header + characters inside a 32-bit size.
constexpr int kMaxLength = (INT_MAX - static_cast<int>(sizeof(OvStringData))) / 2 - 8;

// The cache's lock counts as one of ours, so that a worker is never hard-killed inside it.
void EnterCache(CRITICAL_SECTION* lock)
{
    OvLock::NoteEntering();
    EnterCriticalSection(lock);
}

void LeaveCache(CRITICAL_SECTION* lock)
{
    LeaveCriticalSection(lock);
    OvLock::NoteLeft();
}
}

OvStringGlobals* OvStringGlobals::Get()
{
    // Constructed on first use; intentionally never destroyed, so strings in static
    // objects stay valid while static destructors run.
    static OvStringGlobals* globals = new OvStringGlobals();
    return globals;
}

OvStringGlobals::OvStringGlobals()
{
    InitializeCriticalSection(&lock_);
    empty_.header.manager = this;
    empty_.header.length = 0;
    empty_.header.capacity = 1;
    empty_.header.refs = kOvStaticRefs;
    empty_.terminator[0] = empty_.terminator[1] = 0;

    setlocale(LC_ALL, "");
    for (int c = 0; c < 256; ++c) {
        wchar_t w = static_cast<wchar_t>(c);
        lower_[c] = FoldWide(w);
        classes_[c] = ClassOfWide(w);
    }
}

wchar_t OvStringGlobals::FoldWide(wchar_t c)
{
    return static_cast<wchar_t>(towlower(c));
}

uint8_t OvStringGlobals::ClassOfWide(wchar_t c)
{
    uint8_t m = 0;
    if (iswdigit(c)) m |= kOvDigit;
    if (iswalpha(c)) m |= kOvLetter;
    if (iswspace(c)) m |= kOvSpace;
    if (iswupper(c)) m |= kOvUpper;
    if (iswlower(c)) m |= kOvLower;
    if (iswpunct(c)) m |= kOvPunct;
    if (iswprint(c)) m |= kOvPrint;
    return m;
}

OvStringData* OvStringGlobals::NewBuffer(int length)
{
    if (length < 0 || length > kMaxLength) throw std::bad_alloc();
    const int capacity = length + 1;
    auto* data = static_cast<OvStringData*>(malloc(sizeof(OvStringData) + sizeof(wchar_t) * capacity));
    if (!data) throw std::bad_alloc();
    data->manager = this;
    data->capacity = capacity;
    InterlockedIncrement(&allocated_);
    return data;
}

OvStringData* OvStringGlobals::Allocate(int length, bool useCache)
{
    if (length < 0) length = 0;
    OvStringData* data = nullptr;
    if (useCache && length <= kCacheMaxLength && cached_.load(std::memory_order_relaxed) > 0) {
        EnterCache(&lock_);
        int best = -1;
        int bestSpare = INT_MAX;
        const int cached = cached_.load(std::memory_order_relaxed);
        for (int i = 0; i < cached; ++i) {
            int spare = cache_[i]->capacity - length - 1;
            if (spare >= 0 && spare < bestSpare) {
                best = i;
                bestSpare = spare;
                if (spare <= 15) break;
            }
        }
        if (best >= 0) {
            data = cache_[best];
            cache_[best] = cache_[cached - 1];
            cache_[cached - 1] = nullptr;
            cached_.store(cached - 1, std::memory_order_relaxed);
        }
        LeaveCache(&lock_);
    }
    if (!data) data = NewBuffer(length);
    data->length = length;
    data->refs = 1;
    data->Chars()[length] = 0;
    return data;
}

void OvStringGlobals::Free(OvStringData* data)
{
    if (!data || data->refs == kOvStaticRefs) return;
    if (data->capacity < kCacheMaxCapacity && cached_.load(std::memory_order_relaxed) < kCacheSlots) {
        EnterCache(&lock_);
        const int cached = cached_.load(std::memory_order_relaxed);
        if (cached < kCacheSlots) {
            cache_[cached] = data;
            cached_.store(cached + 1, std::memory_order_relaxed);
            data = nullptr;
        }
        LeaveCache(&lock_);
        if (!data) return;
    }
    InterlockedIncrement(&freed_);
    free(data);
}

int OvStringGlobals::CachedCount()
{
    EnterCache(&lock_);
    const int n = cached_.load(std::memory_order_relaxed);
    LeaveCache(&lock_);
    return n;
}

OvStringData* OvStringGlobals::AllocateEmpty()
{
    OvStringData* data = Allocate(0, true);
    data->Chars()[0] = 0;
    return data;
}

OvStringData* OvStringGlobals::AllocateZeroed(int length)
{
    if (length <= 0) return Empty();
    OvStringData* data = Allocate(length, true);
    memset(data->Chars(), 0, sizeof(wchar_t) * (length + 1));
    return data;
}

OvStringData* OvStringGlobals::FromNarrow(const char* bytes, int length)
{
    if (!bytes) return Empty();
    if (length < 0) length = static_cast<int>(strlen(bytes));
    if (length == 0) return Empty();
    OvStringData* data = Allocate(length, true);
    wchar_t* out = data->Chars();
    for (int i = 0; i < length; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
    out[length] = 0;
    return data;
}

OvStringData* OvStringGlobals::FromText(const wchar_t* text, int length, int capacity, bool ownEvenIfEmpty,
                                        bool lengthExact, bool useCache)
{
    if (!text) {
        text = L"";
        length = 0;
    }
    if (length < 0) {
        length = static_cast<int>(wcslen(text));
    } else if (!lengthExact) {
        int n = 0;
        while (n < length && text[n]) ++n;
        length = n;
    }
    if (capacity < 0) capacity = length;
    if (capacity == 0 && !ownEvenIfEmpty) return Empty();
    const int copied = length < capacity ? length : capacity;
    if (copied == 0 && !ownEvenIfEmpty) return Empty();
    OvStringData* data = Allocate(capacity, useCache);
    memcpy(data->Chars(), text, sizeof(wchar_t) * copied);
    data->Chars()[copied] = 0;
    data->length = copied;
    return data;
}

OvStringData* OvStringGlobals::Empty()
{
    return &empty_.header;
}
