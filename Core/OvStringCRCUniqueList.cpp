#include "OvStringCRCUniqueList.h"

#include "OvStringSearch.h"

OvStringCRCUniqueList::OvStringCRCUniqueList(int expected)
{
    if (expected > 0) hashes_.reserve(expected);
}

bool OvStringCRCUniqueList::Add(const wchar_t* text) { return AddHash(HashNoCase(text)); }

bool OvStringCRCUniqueList::AddHash(uint64_t hash) { return hashes_.insert(hash).second; }

bool OvStringCRCUniqueList::Contains(const wchar_t* text) const { return hashes_.count(HashNoCase(text)) != 0; }
