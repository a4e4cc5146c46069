#pragma once
// Ordering of OvString items for OvQSort, through the tools library's text service.

#include "OvQSort.h"

struct IOvTextService;
class OvStringArray;

class OvStringArraySort : public IOvQSortCompare {
public:
    // The text service is looked up once; without it, modes 1 and 3 order as CompareNoCase and
    // the others by code unit.
    explicit OvStringArraySort(int mode);
    // a and b point at OvString items.
    int Compare(void* a, void* b) override;
    void Sort(OvStringArray& array);

private:
    int mode_;
    IOvTextService* service_;
};
