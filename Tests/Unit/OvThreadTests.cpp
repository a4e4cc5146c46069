// OvThread: start, the bounded and forceful stop, registration with the tools library, and
// IsMainThread.

#include "OvLock.h"
#include "OvProcessInfo.h"
#include "OvProductLibraries.h"
#include "OvQSort.h"
#include "OvStringFormat.h"
#include "OvThread.h"
#include "ToolsLoaded.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <ostream>
#include <random>
#include <thread>

namespace {

// Ends when asked, but only after a while.
class SlowToStop : public OvThread {
public:
    ~SlowToStop() override { Stop(); }
    std::atomic<bool> finished{false};

protected:
    bool Run() override
    {
        WaitForStop(INFINITE);
        Sleep(300);
        finished = true;
        return true;
    }
};

// Owns the exit code of a thread after OvThread has closed its handle.
class ThreadWatch {
public:
    explicit ThreadWatch(DWORD threadId) : handle_(OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, threadId))
    {
    }
    ~ThreadWatch()
    {
        if (handle_) CloseHandle(handle_);
    }
    // The exit code once the thread has ended (STILL_ACTIVE when it has not within 10 s).
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(handle_, 10000) == WAIT_OBJECT_0) GetExitCodeThread(handle_, &code);
        return code;
    }

private:
    HANDLE handle_;
};

// With the tools library loaded, so that the reports can be read from its log.
class ThreadStopReports : public ToolsLoadedTest {};

TEST_F(ThreadStopReports, NoneForANeverStartedThreadWhichStopsAtOnce)
{
    LogReader log;
    OvThread thread;
    EXPECT_TRUE(thread.Stop(0));
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.StartCount(), 0);
    EXPECT_TRUE(log.Texts(L"OvThread::Stop").empty());
}

TEST_F(ThreadStopReports, NoneWhenTheDefaultStopWaitsForTheBody)
{
    LogReader log;
    SlowToStop thread;
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_NE(thread.ThreadId(), 0u);
    EXPECT_NE(thread.StopEvent(), nullptr);
    EXPECT_EQ(thread.StartCount(), 1);

    EXPECT_TRUE(thread.Stop());
    EXPECT_TRUE(thread.finished);
    EXPECT_TRUE(thread.StopRequested());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.ThreadId(), 0u);
    EXPECT_EQ(thread.StopEvent(), nullptr);
    // The body's result is handed out once.
    EXPECT_FALSE(thread.Stop());
    EXPECT_TRUE(log.Texts(L"OvThread::Stop").empty());
}

// A body that ignores every stop request, blocked in a pipe read or sleeping.
class Stubborn : public OvThread {
public:
    explicit Stubborn(bool readsPipe) : readsPipe_(readsPipe)
    {
        CreatePipe(&read_, &write_, nullptr, 0);
        waiting_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Stubborn() override
    {
        Stop();
        CloseHandle(read_);
        CloseHandle(write_);
        CloseHandle(waiting_);
    }
    HANDLE Waiting() const { return waiting_; }
    std::atomic<int> abortedReads{0};

protected:
    bool Run() override
    {
        for (;;) {
            SetEvent(waiting_);
            if (readsPipe_) {
                char c;
                DWORD n;
                if (!ReadFile(read_, &c, 1, &n, nullptr) && GetLastError() == ERROR_OPERATION_ABORTED) ++abortedReads;
            } else {
                Sleep(10);
            }
        }
    }

private:
    bool readsPipe_;
    HANDLE read_ = nullptr;
    HANDLE write_ = nullptr;
    HANDLE waiting_ = nullptr;
};

struct HardKillCase {
    const char* name;
    bool readsPipe;
    // A thread blocked in synchronous I/O is first cancelled and reported again 100 ms later;
    // one without pending I/O cannot be cancelled and is terminated at the first report.
    size_t reports;
    // Stop(-1) with the time-out 0 stored, rather than Stop(0).
    bool storedTimeout;
};

// Shown by name in the test list.
void PrintTo(const HardKillCase& c, std::ostream* out) { *out << c.name; }

class HardKill : public ToolsLoadedTest, public ::testing::WithParamInterface<HardKillCase> {};

TEST_P(HardKill, StopWithTimeOutZeroReportsThenTerminates)
{
    LogReader log;
    Stubborn thread(GetParam().readsPipe);
    ASSERT_TRUE(thread.Start());
    ASSERT_EQ(WaitForSingleObject(thread.Waiting(), 10000), WAIT_OBJECT_0);
    Sleep(100);   // well inside the read or the sleep
    const DWORD id = thread.ThreadId();
    ThreadWatch watch(id);

    if (GetParam().storedTimeout) {
        thread.SetStopTimeout(0);
        EXPECT_FALSE(thread.Stop());
    } else {
        EXPECT_FALSE(thread.Stop(0));
    }
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(watch.ExitCode(), 1u);
    const std::vector<OvString> reports = log.Texts(L"OvThread::Stop");
    ASSERT_EQ(reports.size(), GetParam().reports);
    const OvString ending = OvFormat(L"threadId=%d), it exceeded timeout=0 MS", id);
    for (const OvString& report : reports) {
        EXPECT_TRUE(report.StartsWith(L"Hard killing thread (handle=")) << report.c_str();
        EXPECT_TRUE(report.EndsWith(ending)) << report.c_str();
    }
    if (GetParam().readsPipe) {
        EXPECT_GE(thread.abortedReads, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Bodies, HardKill,
                         ::testing::Values(HardKillCase{"BlockedInRead", true, 2, false},
                                           HardKillCase{"Sleeping", false, 1, false},
                                           HardKillCase{"SleepingWithTheStoredTimeOut", false, 1, true}),
                         [](const ::testing::TestParamInfo<HardKillCase>& info) { return info.param.name; });

// Takes a lock of ours for a while, then ignores the stop request.
class LockHolder : public OvThread {
public:
    explicit LockHolder(OvLock& lock) : lock_(lock), inside_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~LockHolder() override
    {
        Stop();
        CloseHandle(inside_);
    }
    HANDLE Inside() const { return inside_; }
    std::atomic<bool> leaving{false};

protected:
    bool Run() override
    {
        lock_.Enter();
        SetEvent(inside_);
        Sleep(500);
        leaving = true;
        lock_.Leave();
        for (;;) Sleep(10);
    }

private:
    OvLock& lock_;
    HANDLE inside_;
};

TEST(ThreadHardKill, WaitsUntilTheThreadHasLeftOurLock)
{
    OvLock lock;
    LockHolder thread(lock);
    ASSERT_TRUE(thread.Start());
    ASSERT_EQ(WaitForSingleObject(thread.Inside(), 10000), WAIT_OBJECT_0);
    ThreadWatch watch(thread.ThreadId());

    EXPECT_FALSE(thread.Stop(0));
    EXPECT_EQ(watch.ExitCode(), 1u);
    EXPECT_TRUE(thread.leaving);
    // Killed inside, the lock would stay held by a thread that no longer exists.
    ASSERT_TRUE(lock.TryEnter());
    lock.Leave();
}

// Sends a message to the owner's window after the stop request, before it ends.
class Sender : public OvThread {
public:
    explicit Sender(HWND window) : window_(window) {}
    ~Sender() override { Stop(); }
    std::atomic<bool> delivered{false};

protected:
    bool Run() override
    {
        WaitForStop(INFINITE);
        DWORD_PTR answer = 0;
        delivered = SendMessageTimeoutW(window_, WM_USER, 0, 0, SMTO_NORMAL, 10000, &answer) != 0;
        return true;
    }

private:
    HWND window_;
};

TEST(ThreadStop, PumpsMessagesWhileWaitingWhenAsked)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Sender thread(window);
    thread.SetPumpWhileStopping(true);
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.Stop());
    EXPECT_TRUE(thread.delivered);
    DestroyWindow(window);
}

class Counted : public OvThread {
public:
    ~Counted() override { Stop(); }
    bool allowStart = true;
    bool endAtOnce = false;
    int beforeStarts = 0;

protected:
    bool BeforeStart() override
    {
        ++beforeStarts;
        return allowStart;
    }
    bool Run() override
    {
        if (!endAtOnce) WaitForStop(INFINITE);
        return true;
    }
};

TEST(ThreadStart, StartsOnceUnlessRestartedOrEnded)
{
    Counted thread;
    thread.allowStart = false;
    EXPECT_FALSE(thread.Start());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.StartCount(), 0);

    thread.allowStart = true;
    ASSERT_TRUE(thread.Start());
    const DWORD first = thread.ThreadId();
    EXPECT_TRUE(thread.Start());   // running: nothing happens
    EXPECT_EQ(thread.ThreadId(), first);
    EXPECT_EQ(thread.StartCount(), 1);
    EXPECT_EQ(thread.beforeStarts, 2);

    ASSERT_TRUE(thread.Start(THREAD_PRIORITY_BELOW_NORMAL, true));   // stops the first, starts again
    EXPECT_EQ(thread.StartCount(), 2);
    EXPECT_EQ(thread.beforeStarts, 3);
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_FALSE(thread.StopRequested());
    EXPECT_EQ(WaitForSingleObject(thread.StopEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(thread.Stop());

    // A body that ended by itself: not running any more, and a start makes a new thread.
    thread.endAtOnce = true;
    ASSERT_TRUE(thread.Start());
    ASSERT_TRUE(PumpUntil([&] { return !thread.IsRunning(); }));
    ASSERT_TRUE(thread.Start());
    EXPECT_EQ(thread.StartCount(), 4);
    EXPECT_TRUE(thread.Stop());
}

// Registered with the tools library on start; posts itself a main-thread message.
class Messaging : public OvThread {
public:
    Messaging() { registerOnStart_ = true; }
    ~Messaging() override { Stop(); }
    std::atomic<DWORD> calledOn{0};
    std::atomic<int> calls{0};
    std::atomic<WPARAM> first{0};
    std::atomic<LPARAM> second{0};

protected:
    bool Run() override
    {
        GetToolsInterface(false)->GetThreads()->PostToMainThread(this, 7, 8);
        WaitForStop(INFINITE);
        return true;
    }
    bool OnMainThreadMessage(WPARAM a, LPARAM b) override
    {
        calledOn = GetCurrentThreadId();
        first = a;
        second = b;
        ++calls;
        return true;
    }
};

class ThreadRegistration : public ToolsLoadedTest {};

TEST_F(ThreadRegistration, RegisteredThreadGetsMainThreadMessagesUntilStopped)
{
    IOvThreadService* service = GetToolsInterface(false)->GetThreads();
    ASSERT_NE(service, nullptr);
    Messaging thread;
    EXPECT_FALSE(thread.IsRegisteredWithTools());
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.IsRegisteredWithTools());

    ASSERT_TRUE(PumpUntil([&] { return thread.calls == 1; }));
    EXPECT_EQ(thread.calledOn, GetCurrentThreadId());
    EXPECT_EQ(thread.first, 7u);
    EXPECT_EQ(thread.second, 8);

    // Posted but not yet delivered when the thread stops: never delivered.
    EXPECT_TRUE(service->PostToMainThread(&thread, 9, 9));
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRegisteredWithTools());
    EXPECT_FALSE(service->PostToMainThread(&thread, 1, 1));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(thread.calls, 1);
}

TEST(MainThread, IsTheThreadThatFilledTheProcessBlock)
{
    ASSERT_NE(OvProcessInfo::Block(), nullptr);
    EXPECT_TRUE(IsMainThread());
    int onWorker = -1;
    std::thread([&] { onWorker = IsMainThread() ? 1 : 0; }).join();
    EXPECT_EQ(onWorker, 0);
}

// Integers behind item pointers. The calling thread, once well into the sort, waits (at most
// 10 s) until another thread has compared too.
class SharedCompare : public IOvQSortCompare {
public:
    explicit SharedCompare(int waitAfter) : waitAfter_(waitAfter) {}
    ~SharedCompare() { CloseHandle(otherCompared_); }
    int Compare(void* a, void* b) override
    {
        if (GetCurrentThreadId() == caller_) {
            if (++callerCalls == waitAfter_) WaitForSingleObject(otherCompared_, 10000);
        } else {
            ++otherCalls;
            SetEvent(otherCompared_);
        }
        const int x = *static_cast<int*>(a), y = *static_cast<int*>(b);
        return (x > y) - (x < y);
    }
    std::atomic<int> callerCalls{0};
    std::atomic<int> otherCalls{0};

private:
    const DWORD caller_ = GetCurrentThreadId();
    const int waitAfter_;
    HANDLE otherCompared_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

TEST(SorterThread, TakesPendingRangesOnlyWhenAsked)
{
    for (bool useOwnThread : {false, true}) {
        SCOPED_TRACE(useOwnThread);
        const int n = 20000;
        std::vector<int> values(n);
        std::mt19937 random(7);
        for (int& v : values) v = static_cast<int>(random() % 5000);
        std::vector<void*> items;
        for (int& v : values) items.push_back(&v);
        // Past the first partition the larger part waits on the pending stack.
        SharedCompare compare(useOwnThread ? 2 * n : -1);
        OvQSort sorter(items.data(), n, &compare);
        sorter.SetUseOwnThread(useOwnThread);
        sorter.Sort();

        EXPECT_FALSE(sorter.IsRunning());
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(),
                                   [](void* a, void* b) { return *static_cast<int*>(a) < *static_cast<int*>(b); }));
        if (useOwnThread)
            EXPECT_GT(compare.otherCalls, 0);
        else
            EXPECT_EQ(compare.otherCalls, 0);
    }
}

}  // namespace
