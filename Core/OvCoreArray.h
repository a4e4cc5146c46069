#pragma once
// The core library's generic ordered array.

#include <initializer_list>
#include <utility>
#include <vector>

template <class T>
class OvCoreArray {
public:
    OvCoreArray() = default;
    OvCoreArray(std::initializer_list<T> items) : items_(items) {}

    int GetCount() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    T& operator[](int index) { return items_[index]; }
    const T& operator[](int index) const { return items_[index]; }
    T* GetData() { return items_.data(); }
    const T* GetData() const { return items_.data(); }
    int Add(const T& item)
    {
        items_.push_back(item);
        return GetCount() - 1;
    }
    int Add(T&& item)
    {
        items_.push_back(std::move(item));
        return GetCount() - 1;
    }
    void InsertAt(int index, const T& item) { items_.insert(items_.begin() + index, item); }
    void RemoveAt(int index, int count = 1) { items_.erase(items_.begin() + index, items_.begin() + index + count); }
    void SetCount(int count) { items_.resize(count < 0 ? 0 : count); }
    void RemoveAll() { items_.clear(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

protected:
    std::vector<T> items_;
};

// Numbers, for example the token kinds of Tokenize.
class OvNumberArray : public OvCoreArray<int> {
public:
    using OvCoreArray<int>::OvCoreArray;
};

// One hit of OvString::Replace: which pattern, and where.
struct OvStringReplaceHit {
    int pattern;
    int position;
};
