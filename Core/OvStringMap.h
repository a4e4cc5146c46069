#pragma once
// OvStringMap: a chained hash table from key text to value text, keys compared ignoring case.
//
// The iteration order (buckets by increasing index, each chain from head to tail) is what every
// listing of the items shows, serialised forms included, so the layout rules are fixed:
// - hash = hash * 65599 + folded character over the key, unsigned 32 bits; index = hash % buckets;
// - bucket counts are 2^k - 1, the smallest with 2^k > n and 2^k >= 8 for n items;
// - a key that is not present, with m items already stored, first rebuilds the table for m + 1
//   items when there is no table yet or when buckets * 2 + 2 < m + 1; the rebuild walks the old
//   chains from bucket 0, each from its head, and pushes every entry at the head of its new chain;
// - a new entry goes to the tail of its chain.

#include "OvString.h"

#include <cstdint>

class OvStringMap {
public:
    struct Entry {
        Entry* next;
        OvString key;
        OvString value;
    };

    // A place in the iteration: a bucket and an entry of its chain; no entry past the end.
    struct Position {
        int bucket = 0;
        const Entry* entry = nullptr;
        explicit operator bool() const { return entry != nullptr; }
    };

    OvStringMap() = default;
    OvStringMap(const OvStringMap&) = delete;
    OvStringMap& operator=(const OvStringMap&) = delete;
    ~OvStringMap();

    int GetCount() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    int GetBucketCount() const { return bucketCount_; }

    // The value stored under the key, or null.
    const OvString* Lookup(const wchar_t* key) const;
    // Stores the value under the key; a new key keeps the letter case it is given here.
    void SetAt(const wchar_t* key, const OvString& value);
    // Unlinks and frees the entry of the key; false when there is none.
    bool RemoveKey(const wchar_t* key);
    // Frees every entry and the bucket array.
    void RemoveAll();

    // The first entry (first non-empty bucket, its head); an empty position when there are no items.
    Position GetStartPosition() const;
    // Copies the key and value at the position out and moves it to the next entry.
    void GetNext(Position& position, OvString& key, OvString& value) const;

    // Hash of a key over its folded characters; a null key hashes to 0.
    static uint32_t HashKey(const wchar_t* key);
    // Keys are equal when their folded characters are equal up to the terminator.
    static bool KeysEqual(const wchar_t* a, const wchar_t* b);
    // Bucket count for a table of n items: 2^k - 1 with 2^k > n and 2^k >= 8.
    static int BucketCountFor(int n);

private:
    Entry* Find(const wchar_t* key, uint32_t hash) const;
    void Rebuild(int items);

    int32_t count_ = 0;
    int32_t bucketCount_ = 0;
    Entry** buckets_ = nullptr;
};
