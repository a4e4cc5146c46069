#pragma once
// The process-wide string manager: allocates, caches and frees the buffers of OvString.

#include <windows.h>
#include <atomic>
#include <cstdint>

class OvStringGlobals;

// Header in front of the characters of every string buffer.
struct OvStringData {
    OvStringGlobals* manager;   // allocated and freed by this manager
    int32_t length;             // code units, terminator not counted
    int32_t capacity;           // code units, terminator included
    volatile LONG refs;         // sharing count; kOvStaticRefs or -1 (handed out for writing)

    wchar_t* Chars() { return reinterpret_cast<wchar_t*>(this + 1); }
    const wchar_t* Chars() const { return reinterpret_cast<const wchar_t*>(this + 1); }
    static OvStringData* FromChars(const wchar_t* chars) {
        return reinterpret_cast<OvStringData*>(const_cast<wchar_t*>(chars)) - 1;
    }
};

constexpr LONG kOvStaticRefs = 2147482647;   // 0x7FFFFC17: never counted, never freed
constexpr LONG kOvWritingRefs = -1;          // handed out for direct writing, never shared

// Character class bits of the class table.
enum OvCharClass : uint8_t {
    kOvDigit = 1, kOvLetter = 2, kOvSpace = 4, kOvUpper = 8, kOvLower = 16, kOvPunct = 32, kOvPrint = 64
};

class OvStringGlobals {
public:
    static constexpr int kCacheSlots = 16;
    static constexpr int kCacheMaxLength = 1030;     // longest request served from the cache
    static constexpr int kCacheMaxCapacity = 1032;   // freed buffers below this go to the cache

    // The one manager of this module; created on first use, never destroyed.
    static OvStringGlobals* Get();

    virtual OvStringData* Allocate(int length, bool useCache);
    virtual void Free(OvStringData* data);
    virtual OvStringData* AllocateEmpty();
    virtual OvStringData* AllocateZeroed(int length);
    virtual OvStringData* FromNarrow(const char* bytes, int length = -1);
    virtual OvStringData* FromText(const wchar_t* text, int length, int capacity, bool ownEvenIfEmpty,
                                   bool lengthExact, bool useCache);
    virtual OvStringData* Empty();

    // Lower-case form: the table below 256, towlower above.
    wchar_t Fold(wchar_t c) const { return c < 256 ? lower_[c] : FoldWide(c); }
    // The lower-case forms of the code units below 256.
    const wchar_t* LowerTable() const { return lower_; }
    // Class mask (OvCharClass bits): the table below 256, the wide-character functions above.
    uint8_t ClassOf(wchar_t c) const { return c < 256 ? classes_[c] : ClassOfWide(c); }
    bool IsSpace(wchar_t c) const { return (ClassOf(c) & kOvSpace) != 0; }
    bool IsDigit(wchar_t c) const { return (ClassOf(c) & kOvDigit) != 0; }
    bool IsLetter(wchar_t c) const { return (ClassOf(c) & kOvLetter) != 0; }

    // Heap buffers made and released over the manager's life, and those waiting in the cache.
    // Made - released - cached is the number of buffers in use (for leak checks).
    LONG AllocatedCount() const { return allocated_; }
    LONG FreedCount() const { return freed_; }
    int CachedCount();

protected:
    OvStringGlobals();
    virtual ~OvStringGlobals() = default;

private:
    OvStringData* NewBuffer(int length);
    static wchar_t FoldWide(wchar_t c);
    static uint8_t ClassOfWide(wchar_t c);

    CRITICAL_SECTION lock_;
    struct StaticEmpty {
        OvStringData header;
        wchar_t terminator[2];
    } empty_;
    OvStringData* cache_[kCacheSlots] = {};
    // Changed only under the lock; read without it as a hint that spares the lock when the
    // cache is empty (allocate) or full (free).
    std::atomic<int> cached_{0};
    wchar_t lower_[256];
    uint8_t classes_[256];
    volatile LONG allocated_ = 0;
    volatile LONG freed_ = 0;
};
