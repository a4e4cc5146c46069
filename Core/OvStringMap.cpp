#include "OvStringMap.h"

OvStringMap::~OvStringMap() { RemoveAll(); }

uint32_t OvStringMap::HashKey(const wchar_t* key)
{
    uint32_t hash = 0;
    if (!key) return hash;
    const OvStringGlobals* g = OvStringGlobals::Get();
    for (; *key; ++key) hash = hash * 65599u + g->Fold(*key);
    return hash;
}

bool OvStringMap::KeysEqual(const wchar_t* a, const wchar_t* b)
{
    if (!a) a = L"";
    if (!b) b = L"";
    const OvStringGlobals* g = OvStringGlobals::Get();
    for (;; ++a, ++b) {
        if (g->Fold(*a) != g->Fold(*b)) return false;
        if (*a == 0) return true;
    }
}

int OvStringMap::BucketCountFor(int n)
{
    int64_t power = 8;
    while (power <= n) power *= 2;
    return static_cast<int>(power - 1);
}

OvStringMap::Entry* OvStringMap::Find(const wchar_t* key, uint32_t hash) const
{
    if (bucketCount_ == 0) return nullptr;
    for (Entry* e = buckets_[hash % static_cast<uint32_t>(bucketCount_)]; e; e = e->next) {
        if (KeysEqual(e->key, key)) return e;
    }
    return nullptr;
}

const OvString* OvStringMap::Lookup(const wchar_t* key) const
{
    const Entry* e = Find(key, HashKey(key));
    return e ? &e->value : nullptr;
}

void OvStringMap::Rebuild(int items)
{
    const int newCount = BucketCountFor(items);
    Entry** fresh = new Entry*[newCount]();
    for (int b = 0; b < bucketCount_; ++b) {
        Entry* e = buckets_[b];
        while (e) {
            Entry* next = e->next;
            Entry*& head = fresh[HashKey(e->key) % static_cast<uint32_t>(newCount)];
            e->next = head;
            head = e;
            e = next;
        }
    }
    delete[] buckets_;
    buckets_ = fresh;
    bucketCount_ = newCount;
}

void OvStringMap::SetAt(const wchar_t* key, const OvString& value)
{
    const uint32_t hash = HashKey(key);
    if (Entry* e = Find(key, hash)) {
        e->value = value;
        return;
    }
    if (bucketCount_ == 0 || static_cast<int64_t>(bucketCount_) * 2 + 2 < static_cast<int64_t>(count_) + 1)
        Rebuild(count_ + 1);
    Entry* entry = new Entry{nullptr, OvString(key), value};
    Entry** link = &buckets_[hash % static_cast<uint32_t>(bucketCount_)];
    while (*link) link = &(*link)->next;
    *link = entry;
    ++count_;
}

bool OvStringMap::RemoveKey(const wchar_t* key)
{
    if (bucketCount_ == 0) return false;
    for (Entry** link = &buckets_[HashKey(key) % static_cast<uint32_t>(bucketCount_)]; *link; link = &(*link)->next) {
        Entry* e = *link;
        if (KeysEqual(e->key, key)) {
            *link = e->next;
            delete e;
            --count_;
            return true;
        }
    }
    return false;
}

void OvStringMap::RemoveAll()
{
    for (int b = 0; b < bucketCount_; ++b) {
        Entry* e = buckets_[b];
        while (e) {
            Entry* next = e->next;
            delete e;
            e = next;
        }
    }
    delete[] buckets_;
    buckets_ = nullptr;
    bucketCount_ = 0;
    count_ = 0;
}

OvStringMap::Position OvStringMap::GetStartPosition() const
{
    Position p;
    if (count_ == 0) return p;
    for (p.bucket = 0; p.bucket < bucketCount_; ++p.bucket) {
        if (buckets_[p.bucket]) {
            p.entry = buckets_[p.bucket];
            return p;
        }
    }
    return Position();
}

void OvStringMap::GetNext(Position& position, OvString& key, OvString& value) const
{
    if (!position.entry) return;
    key = position.entry->key;
    value = position.entry->value;
    if (position.entry->next) {
        position.entry = position.entry->next;
        return;
    }
    for (++position.bucket; position.bucket < bucketCount_; ++position.bucket) {
        if (buckets_[position.bucket]) {
            position.entry = buckets_[position.bucket];
            return;
        }
    }
    position = Position();
}
