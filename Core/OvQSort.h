#pragma once
// Quicksort of an array of item pointers with a shared stack of pending ranges.
//
// A range of more than 16 items is split around the median of its first, middle and last items;
// the larger part goes on the pending stack and the smaller is sorted at once. Ranges of 16
// items or fewer are shell-sorted. Workers take ranges from the stack until it is empty and
// every worker is idle. The caller's thread is always a worker; with SetUseOwnThread the
// sorter's own thread is a second one.

#include "OvLock.h"
#include "OvThread.h"

#include <windows.h>

// Orders two items: negative, 0 or positive.
struct IOvQSortCompare {
    virtual int Compare(void* a, void* b) = 0;
};

class OvQSort : public OvThread {
public:
    static constexpr int kShellSortLimit = 16;
    static constexpr int kPendingLimit = 60;

    OvQSort(void** items, int count, IOvQSortCompare* compare);
    ~OvQSort() override;
    OvQSort(const OvQSort&) = delete;
    OvQSort& operator=(const OvQSort&) = delete;

    // Off by default: the whole sort then runs on the caller's thread.
    void SetUseOwnThread(bool use) { useOwnThread_ = use; }
    // Returns when the items are in order.
    void Sort();

protected:
    // The sorter's own thread: a second worker.
    bool Run() override;
    // One worker: sorts pending ranges until none is left and all workers are idle.
    void Work();

private:
    struct Range {
        int first;
        int last;   // inclusive
    };

    void SortRange(int first, int last);
    void ShellSort(int first, int last);
    bool Push(const Range& range);
    bool Pop(Range& range);   // the caller holds the lock
    int Compare(int a, int b) { return compare_->Compare(items_[a], items_[b]); }
    void Swap(int a, int b)
    {
        void* t = items_[a];
        items_[a] = items_[b];
        items_[b] = t;
    }

    void** items_;
    int count_;
    IOvQSortCompare* compare_;
    OvLock lock_;
    bool useOwnThread_ = false;
    Range pending_[kPendingLimit];
    int pendingCount_ = 0;
    int workers_ = 0;
    int idle_ = 0;
};
