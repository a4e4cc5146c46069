#include "ParallelFor.h"

#include <objbase.h>
#include <process.h>

#include <algorithm>
#include <vector>

ParallelFor::ParallelFor(int workerLimit, bool initializeCom)
    : limit_(workerLimit < 1 ? 1 : workerLimit), initializeCom_(initializeCom),
      done_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

ParallelFor::~ParallelFor()
{
    if (done_) CloseHandle(done_);
}

void ParallelFor::Run(IOvParallelForCallback* callback, int lastIndex)
{
    if (!callback || lastIndex < 0) return;
    const long long items = static_cast<long long>(lastIndex) + 1;
    const int workers = static_cast<int>(std::min<long long>(items, limit_));
    if (workers == 1) {
        for (int i = 0; i <= lastIndex; ++i) callback->Call(i, 0);
        return;
    }

    ResetEvent(done_);
    callback_ = callback;
    last_ = lastIndex;
    next_ = 0;
    finished_ = limit_ - workers;
    std::vector<WorkerStart> starts(workers - 1);
    std::vector<HANDLE> threads;
    for (int worker = 0; worker < workers - 1; ++worker) {
        starts[worker] = {this, worker};
        const uintptr_t thread = _beginthreadex(nullptr, 0, WorkerProcedure, &starts[worker], 0, nullptr);
        if (thread) {
            threads.push_back(reinterpret_cast<HANDLE>(thread));
        } else {
            OvLockGuard guard(lock_);
            --limit_;
        }
    }
    WorkerLoop(workers - 1);
    WaitForSingleObject(done_, INFINITE);
    // The workers touch nothing of this object after the last one has set the done event, but
    // they are let finish before the object can go.
    for (size_t first = 0; first < threads.size(); first += MAXIMUM_WAIT_OBJECTS) {
        const DWORD count = static_cast<DWORD>(std::min<size_t>(threads.size() - first, MAXIMUM_WAIT_OBJECTS));
        WaitForMultipleObjects(count, &threads[first], TRUE, INFINITE);
    }
    for (HANDLE thread : threads) CloseHandle(thread);
}

unsigned __stdcall ParallelFor::WorkerProcedure(void* start)
{
    const WorkerStart* s = static_cast<WorkerStart*>(start);
    s->owner->WorkerLoop(s->worker);
    return 0;
}

void ParallelFor::WorkerLoop(int worker)
{
    const bool com = initializeCom_ && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    HANDLE doneEvent = nullptr;
    for (;;) {
        long long index;
        {
            OvLockGuard guard(lock_);
            index = next_;
            if (index > last_) {
                if (++finished_ >= limit_) doneEvent = done_;
                break;
            }
            ++next_;
        }
        callback_->Call(static_cast<int>(index), worker);
    }
    if (com) CoUninitialize();
    // Set outside the lock: once it is set the caller may go on and release this object.
    if (doneEvent) SetEvent(doneEvent);
}
