#pragma once
// A set of 64-bit text hashes (HashNoCase), for finding texts already seen.

#include <cstdint>
#include <unordered_set>

class OvStringCRCUniqueList {
public:
    explicit OvStringCRCUniqueList(int expected = 0);
    // Adds the text's hash; false when it was present already.
    bool Add(const wchar_t* text);
    bool AddHash(uint64_t hash);
    bool Contains(const wchar_t* text) const;
    int GetCount() const { return static_cast<int>(hashes_.size()); }

private:
    std::unordered_set<uint64_t> hashes_;
};
