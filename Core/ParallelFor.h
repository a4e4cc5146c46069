#pragma once
// ParallelFor: runs a callback for every index of 0..last on several threads (the caller's among
// them) and returns when all are done.

#include "OvLock.h"

#include <windows.h>

#include <utility>

struct IOvParallelForCallback {
    virtual void Call(int index, int worker) = 0;
};

class ParallelFor {
public:
    // workerLimit: the most threads to use (at least 1); initializeCom: COM in every worker.
    explicit ParallelFor(int workerLimit, bool initializeCom = false);
    ~ParallelFor();
    ParallelFor(const ParallelFor&) = delete;
    ParallelFor& operator=(const ParallelFor&) = delete;

    // Calls callback once for each index 0..lastIndex. With a single worker the calls run on the
    // calling thread in index order with worker number 0; workers are numbered from 0, the
    // calling thread being the last.
    void Run(IOvParallelForCallback* callback, int lastIndex);

    template <class F>
    void Run(int lastIndex, F&& function)
    {
        struct Adapter : IOvParallelForCallback {
            explicit Adapter(F& f) : f_(f) {}
            void Call(int index, int worker) override { f_(index, worker); }
            F& f_;
        } adapter(function);
        Run(&adapter, lastIndex);
    }

    // Lowered by one for every worker thread that could not be made.
    int WorkerLimit() const { return limit_; }

private:
    struct WorkerStart {
        ParallelFor* owner;
        int worker;
    };
    static unsigned __stdcall WorkerProcedure(void* start);
    void WorkerLoop(int worker);

    int limit_;
    bool initializeCom_;
    OvLock lock_;
    HANDLE done_;
    IOvParallelForCallback* callback_ = nullptr;
    int last_ = -1;
    long long next_ = 0;
    int finished_ = 0;
};
