// ParallelFor: every index exactly once, on at most the worker limit of threads.

#include "ParallelFor.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <map>
#include <mutex>
#include <ostream>
#include <vector>

namespace {

struct ParallelForCase {
    const char* name;
    int lastIndex;
    int limit;
    int workers;   // expected number of workers
};

// Shown by name in the test list.
void PrintTo(const ParallelForCase& c, std::ostream* out) { *out << c.name; }

class ParallelForRun : public ::testing::TestWithParam<ParallelForCase> {};

TEST_P(ParallelForRun, CallsEveryIndexExactlyOnce)
{
    const ParallelForCase& c = GetParam();
    const int items = c.lastIndex + 1;
    std::vector<std::atomic<int>> counts(items > 0 ? items : 0);
    std::mutex mutex;
    std::vector<int> order;                  // indices in call order
    std::map<int, DWORD> threadOfWorker;     // worker number -> its thread
    bool oneThreadPerWorker = true;
    const DWORD caller = GetCurrentThreadId();

    ParallelFor loop(c.limit);
    loop.Run(c.lastIndex, [&](int index, int worker) {
        ++counts[index];
        Sleep(index % 3 == 0 ? 1 : 0);   // let the workers take turns
        std::lock_guard<std::mutex> guard(mutex);
        order.push_back(index);
        auto known = threadOfWorker.find(worker);
        if (known == threadOfWorker.end())
            threadOfWorker[worker] = GetCurrentThreadId();
        else if (known->second != GetCurrentThreadId())
            oneThreadPerWorker = false;
    });

    for (int i = 0; i < items; ++i) EXPECT_EQ(counts[i], 1) << "index " << i;
    EXPECT_EQ(static_cast<int>(order.size()), items > 0 ? items : 0);
    EXPECT_TRUE(oneThreadPerWorker);
    EXPECT_LE(static_cast<int>(threadOfWorker.size()), c.workers);
    for (const auto& [worker, thread] : threadOfWorker) {
        EXPECT_GE(worker, 0);
        EXPECT_LT(worker, c.workers);
        // The calling thread works too, as the last worker.
        EXPECT_EQ(thread == caller, worker == c.workers - 1) << "worker " << worker;
    }
    if (c.workers == 1) {
        for (int i = 0; i < items; ++i) EXPECT_EQ(order[i], i);
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, ParallelForRun,
                         ::testing::Values(ParallelForCase{"MoreItemsThanWorkers", 199, 3, 3},
                                           ParallelForCase{"FewerItemsThanWorkers", 1, 8, 2},
                                           ParallelForCase{"OneWorker", 9, 1, 1},
                                           ParallelForCase{"OneItem", 0, 4, 1},
                                           ParallelForCase{"NoItems", -1, 4, 0}),
                         [](const ::testing::TestParamInfo<ParallelForCase>& info) { return info.param.name; });

TEST(ParallelForCom, WorkersHaveComWhenAsked)
{
    for (bool initializeCom : {true, false}) {
        std::atomic<int> initialised{0};
        std::atomic<int> fresh{0};
        const DWORD caller = GetCurrentThreadId();
        ParallelFor loop(4, initializeCom);
        loop.Run(15, [&](int, int) {
            if (GetCurrentThreadId() == caller) return;
            const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (result == S_FALSE) ++initialised;
            if (result == S_OK) ++fresh;
            if (SUCCEEDED(result)) CoUninitialize();
        });
        if (initializeCom)
            EXPECT_EQ(fresh, 0);
        else
            EXPECT_EQ(initialised, 0);
    }
}

}  // namespace
