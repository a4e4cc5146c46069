#include "OvQSort.h"

OvQSort::OvQSort(void** items, int count, IOvQSortCompare* compare)
    : items_(items), count_(items ? count : 0), compare_(compare)
{
}

OvQSort::~OvQSort()
{
    Stop();
}

void OvQSort::Sort()
{
    if (count_ < 2 || !compare_) return;
    lock_.Enter();
    pendingCount_ = 0;
    pending_[pendingCount_++] = {0, count_ - 1};
    workers_ = useOwnThread_ ? 2 : 1;
    idle_ = 0;
    lock_.Leave();
    if (useOwnThread_ && !Start()) {
        lock_.Enter();
        --workers_;
        lock_.Leave();
    }
    Work();
    // The own thread ends by itself once every worker is idle.
    if (useOwnThread_) Stop();
}

bool OvQSort::Run()
{
    Work();
    return true;
}

void OvQSort::Work()
{
    for (;;) {
        Range range;
        lock_.Enter();
        bool found = Pop(range);
        if (!found) {
            ++idle_;
            // Wait for another worker to push a range, or for all of them to run out of work.
            while (!(found = Pop(range)) && idle_ < workers_) {
                lock_.Leave();
                Sleep(5);
                lock_.Enter();
            }
            if (found) --idle_;
        }
        lock_.Leave();
        if (!found) return;
        SortRange(range.first, range.last);
    }
}

bool OvQSort::Push(const Range& range)
{
    lock_.Enter();
    const bool room = pendingCount_ < kPendingLimit;
    if (room) pending_[pendingCount_++] = range;
    lock_.Leave();
    return room;
}

bool OvQSort::Pop(Range& range)
{
    if (pendingCount_ == 0) return false;
    range = pending_[--pendingCount_];
    return true;
}

void OvQSort::SortRange(int first, int last)
{
    while (last - first + 1 > kShellSortLimit) {
        // Median of three: first <= middle <= last, the middle is the pivot.
        const int middle = first + (last - first) / 2;
        if (Compare(middle, first) < 0) Swap(middle, first);
        if (Compare(last, first) < 0) Swap(last, first);
        if (Compare(last, middle) < 0) Swap(last, middle);
        Swap(middle, last - 1);
        void* pivot = items_[last - 1];

        // The first item and the pivot at last - 1 stop the scans.
        int i = first, j = last - 1;
        for (;;) {
            while (compare_->Compare(items_[++i], pivot) < 0) {}
            while (compare_->Compare(items_[--j], pivot) > 0) {}
            if (i >= j) break;
            Swap(i, j);
        }
        Swap(i, last - 1);

        Range left{first, i - 1}, right{i + 1, last};
        const bool leftLarger = left.last - left.first > right.last - right.first;
        const Range& larger = leftLarger ? left : right;
        const Range& smaller = leftLarger ? right : left;
        if (Push(larger)) {
            first = smaller.first;
            last = smaller.last;
        } else {
            // The stack is full: the smaller part is sorted here, which keeps the depth logarithmic.
            SortRange(smaller.first, smaller.last);
            first = larger.first;
            last = larger.last;
        }
    }
    ShellSort(first, last);
}

void OvQSort::ShellSort(int first, int last)
{
    const int n = last - first + 1;
    for (int gap = n / 2; gap > 0; gap = gap == 2 ? 1 : gap * 5 / 11) {
        for (int i = first + gap; i <= last; ++i) {
            void* item = items_[i];
            int j = i;
            for (; j - gap >= first && compare_->Compare(items_[j - gap], item) > 0; j -= gap) items_[j] = items_[j - gap];
            items_[j] = item;
        }
    }
}
