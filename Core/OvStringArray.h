#pragma once
// An ordered array of OvString; copying shares the items' buffers.

#include "OvCoreArray.h"
#include "OvString.h"

class OvStringArray : public OvCoreArray<OvString> {
public:
    OvStringArray() = default;
    OvStringArray(std::initializer_list<OvString> items)
    {
        for (const OvString& item : items) Add(item);
    }
};
