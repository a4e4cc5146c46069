#include "OvStringArray.h"
#include "OvStringFormat.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Buffers made by the manager and not handed back to the heap or the cache.
LONG BuffersInUse()
{
    OvStringGlobals* g = OvStringGlobals::Get();
    return g->AllocatedCount() - g->FreedCount() - g->CachedCount();
}

TEST(OvStringThreads, CopyingReleasingAndBuildingAtOnceKeepsTextsAndCounts)
{
    constexpr int kThreads = 6;
    constexpr int kRounds = 20000;
    const LONG inUseBefore = BuffersInUse();
    {
        // Values shared by every thread: each copy and release changes their counts concurrently.
        const OvStringArray shared{L"alpha", L"a somewhat longer text that is shared by every thread",
                                   OvString(std::wstring(3000, L'x').c_str())};
        std::atomic<int> failures{0};
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                while (!go) std::this_thread::yield();
                OvStringArray kept;
                for (int i = 0; i < kRounds; ++i) {
                    OvString copy = shared[i % shared.GetCount()];   // shares
                    OvString built = OvFormat(L"%d:%d:%s", t, i, shared[0]);
                    built += L"/";
                    built += copy.Left(5);
                    OvString expected = OvString(std::to_wstring(t).c_str()) + L":" +
                                        OvString(std::to_wstring(i).c_str()) + L":alpha/" + shared[i % 3].Left(5);
                    if (built != expected) ++failures;
                    copy.MakeUpper();   // copy on write: the shared value stays as it is
                    if (shared[i % 3].c_str()[0] == L'A' || shared[i % 3].c_str()[0] == L'X') ++failures;
                    if (i % 7 == 0) kept.Add(built);
                    if (kept.GetCount() > 50) kept.RemoveAll();
                }
            });
        }
        go = true;
        for (std::thread& thread : threads) thread.join();
        EXPECT_EQ(failures.load(), 0);
        // Every copy has been released: the shared buffers are back to one owner.
        for (const OvString& item : shared) EXPECT_EQ(item.RefCount(), 1);
        EXPECT_STREQ(shared[0].c_str(), L"alpha");
    }
    // Nothing leaked: every buffer made during the run went back to the heap or the cache.
    EXPECT_EQ(BuffersInUse(), inUseBefore);
    EXPECT_LE(OvStringGlobals::Get()->CachedCount(), OvStringGlobals::kCacheSlots);
}

TEST(OvStringThreads, ValuesHandedBetweenThreadsSurviveTheirFirstOwner)
{
    const LONG inUseBefore = BuffersInUse();
    {
        std::vector<OvString> handed(1000);
        std::thread producer([&] {
            for (int i = 0; i < 1000; ++i) {
                OvString local = OvFormat(L"item %d", i);
                handed[i] = local;   // shared; the producer's copy goes at the end of the round
            }
        });
        producer.join();
        std::thread consumer([&] {
            for (int i = 0; i < 1000; ++i) {
                EXPECT_EQ(handed[i].RefCount(), 1);
                EXPECT_STREQ(handed[i].c_str(), (L"item " + std::to_wstring(i)).c_str());
            }
            handed.clear();
        });
        consumer.join();
    }
    EXPECT_EQ(BuffersInUse(), inUseBefore);
}

}  // namespace
