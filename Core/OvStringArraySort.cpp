#include "OvStringArraySort.h"

#include "OvStringArray.h"
#include "OvStringSearch.h"
#include "OvToolsInterface.h"

#include <vector>

OvStringArraySort::OvStringArraySort(int mode) : mode_(mode), service_(GetTextService()) {}

int OvStringArraySort::Compare(void* a, void* b)
{
    const wchar_t* first = static_cast<const OvString*>(a)->c_str();
    const wchar_t* second = static_cast<const OvString*>(b)->c_str();
    return service_ ? service_->Compare(first, second, mode_, 1) : CompareTextOwn(first, second, mode_);
}

void OvStringArraySort::Sort(OvStringArray& array)
{
    const int count = array.GetCount();
    if (count < 2) return;
    std::vector<void*> items(count);
    for (int i = 0; i < count; ++i) items[i] = &array[i];
    OvQSort(items.data(), count, this).Sort();

    // Move the items into their new order.
    std::vector<OvString> ordered;
    ordered.reserve(count);
    for (void* item : items) ordered.push_back(static_cast<OvString&&>(*static_cast<OvString*>(item)));
    for (int i = 0; i < count; ++i) array[i] = static_cast<OvString&&>(ordered[i]);
}
