// OvCmdTarget: commands and timer requests handed to the owner thread through the hidden window.

#include "OvCmdTarget.h"
#include "ToolsLoaded.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

namespace {

// Records what reaches it, with the thread it ran on.
class Recorder : public OvCmdTarget {
public:
    struct Call {
        char what;   // 'c' command, 't' timer
        uint32_t value;
        DWORD thread;
    };
    std::vector<Call> Calls() const
    {
        std::lock_guard<std::mutex> guard(mutex_);
        return calls_;
    }
    bool Has(char what, uint32_t value) const
    {
        for (const Call& call : Calls())
            if (call.what == what && call.value == value) return true;
        return false;
    }

protected:
    void OnCommand(const OvCommand& command) override { Add('c', command.kind); }
    void OnTimer(UINT id) override { Add('t', id); }

private:
    void Add(char what, uint32_t value)
    {
        std::lock_guard<std::mutex> guard(mutex_);
        calls_.push_back({what, value, GetCurrentThreadId()});
    }
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

OvCommand UserCommand(uint32_t kind)
{
    return {kind, 0, 0, 0, 0};
}

// Whether the window timer id is set on the target's window (killing it if it is).
bool TimerActive(const OvCmdTarget& target, UINT id)
{
    return KillTimer(target.Window(), id) != FALSE;
}

enum class ApplyBy { Pump, OwnerSetsTimer };

struct TimerRequestCase {
    const char* name;
    ApplyBy applyBy;
};

// Shown by name in the test list.
void PrintTo(const TimerRequestCase& c, std::ostream* out) { *out << c.name; }

class TimerRequests : public ::testing::TestWithParam<TimerRequestCase> {};

TEST_P(TimerRequests, FromAWorkerAreAppliedInOrderOnTheOwner)
{
    Recorder target;
    ASSERT_TRUE(target.IsValid());
    std::thread([&] {
        EXPECT_TRUE(target.SetTimer(5, 10));
        EXPECT_TRUE(target.PostCommand(UserCommand(42)));
        EXPECT_TRUE(target.KillTimer(5));
    }).join();

    if (GetParam().applyBy == ApplyBy::OwnerSetsTimer) {
        // The queued requests take effect first; the user command waits for the pump.
        ASSERT_TRUE(target.SetTimer(7, 10));
        EXPECT_FALSE(target.Has('c', 42));
        EXPECT_FALSE(TimerActive(target, 5));
        ASSERT_TRUE(PumpUntil([&] { return target.Has('t', 7); }));
        EXPECT_TRUE(target.KillTimer(7));
    }
    ASSERT_TRUE(PumpUntil([&] { return target.Has('c', 42); }));
    // Applied in the other order, the timer would be left running.
    EXPECT_FALSE(TimerActive(target, 5));
    EXPECT_FALSE(target.Has('t', 5));
    for (const Recorder::Call& call : target.Calls()) EXPECT_EQ(call.thread, GetCurrentThreadId());
}

INSTANTIATE_TEST_SUITE_P(Owner, TimerRequests,
                         ::testing::Values(TimerRequestCase{"NextPump", ApplyBy::Pump},
                                           TimerRequestCase{"NextSetTimer", ApplyBy::OwnerSetsTimer}),
                         [](const ::testing::TestParamInfo<TimerRequestCase>& info) { return info.param.name; });

// Looks at the queue without taking anything from it.
class QueueInspector : public IOvCommandFilter {
public:
    bool Matches(const OvCommand& command) override
    {
        seen.push_back(command);
        return false;
    }
    bool Accepts(const OvCommand&) override { return true; }
    std::vector<OvCommand> seen;
};

TEST(CmdTarget, ZeroIntervalIsOneMillisecond)
{
    Recorder target;
    QueueInspector inspector;
    std::thread([&] {
        EXPECT_TRUE(target.SetTimer(3, 0));
        target.PumpCommands(&inspector);
    }).join();
    ASSERT_EQ(inspector.seen.size(), 1u);
    const OvCommand& request = inspector.seen[0];
    EXPECT_EQ(request.kind, OvCmdTarget::kSetTimerRequest);
    EXPECT_EQ(request.first, 3u);
    EXPECT_EQ(request.second, 1u);
    EXPECT_NE(request.internal, 0u);

    EXPECT_TRUE(target.SetTimer(4, 0));
    EXPECT_TRUE(PumpUntil([&] { return target.Has('t', 3) && target.Has('t', 4); }));
}

TEST(CmdTarget, CommandsRunOnlyOnTheOwnerThreadInOrder)
{
    Recorder target;
    std::thread([&] {
        for (uint32_t kind : {11u, 12u, 13u}) EXPECT_TRUE(target.PostCommand(UserCommand(kind)));
        target.PumpCommands(nullptr);   // not the owner: nothing runs
    }).join();
    EXPECT_TRUE(target.Calls().empty());

    // A filter that matches 12 and rejects it: removed without running.
    class DropTwelve : public IOvCommandFilter {
        bool Matches(const OvCommand& command) override { return command.kind == 12; }
        bool Accepts(const OvCommand&) override { return false; }
    } dropTwelve;
    target.PumpCommands(&dropTwelve);
    EXPECT_TRUE(target.Calls().empty());

    ASSERT_TRUE(PumpUntil([&] { return target.Calls().size() == 2; }));
    const std::vector<Recorder::Call> calls = target.Calls();
    EXPECT_EQ(calls[0].value, 11u);
    EXPECT_EQ(calls[1].value, 13u);
    EXPECT_EQ(calls[0].thread, GetCurrentThreadId());
}

TEST(CmdTarget, ClassNamesAreDistinctAndForeignWindowsAreNotTargets)
{
    Recorder first;
    Recorder second;
    const OvString prefix(OvCmdTarget::kClassPrefix);
    for (const Recorder* target : {&first, &second}) {
        const OvString& name = target->ClassName();
        ASSERT_TRUE(name.StartsWith(prefix + L"0x")) << name.c_str();
        const OvString digits = name.Mid(prefix.Length() + 2);
        EXPECT_GE(digits.Length(), 1);
        EXPECT_LE(digits.Length(), 8);
        for (int i = 0; i < digits.Length(); ++i) EXPECT_TRUE(wcschr(L"0123456789ABCDEF", digits[i])) << name.c_str();
        wchar_t windowClass[128] = {};
        GetClassNameW(target->Window(), windowClass, 128);
        EXPECT_STREQ(windowClass, name.c_str());
    }
    EXPECT_NE(first.ClassName(), second.ClassName());

    // A window of another class with the prefix, the library's procedure and a live target as
    // its user data.
    const OvString foreignName = prefix + L"0xF00D";
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OvCmdTarget::WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = foreignName;
    ASSERT_TRUE(RegisterClassExW(&windowClass));
    HWND foreign = CreateWindowExW(0, foreignName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&first));
    // Queued without waking the owner: only a pump runs it.
    std::thread([&] { first.PostCommand(UserCommand(21)); }).join();
    MSG msg;
    while (PeekMessageW(&msg, first.Window(), OvCmdTarget::kCommandMessage, OvCmdTarget::kCommandMessage, PM_REMOVE)) {
    }

    SendMessageW(foreign, WM_TIMER, 77, 0);
    SendMessageW(foreign, OvCmdTarget::kCommandMessage, 0, 0);
    EXPECT_TRUE(first.Calls().empty());
    // Nor is a user data that is no target at all.
    SetWindowLongPtrW(foreign, GWLP_USERDATA, 0x12345678);
    SendMessageW(foreign, WM_TIMER, 77, 0);
    SendMessageW(foreign, OvCmdTarget::kCommandMessage, 0, 0);
    EXPECT_TRUE(first.Calls().empty());

    // The target's own window does reach it.
    SendMessageW(first.Window(), WM_TIMER, 77, 0);
    SendMessageW(first.Window(), OvCmdTarget::kCommandMessage, 0, 0);
    EXPECT_TRUE(first.Has('t', 77));
    EXPECT_TRUE(first.Has('c', 21));
    EXPECT_TRUE(second.Calls().empty());

    DestroyWindow(foreign);
    UnregisterClassW(foreignName, GetModuleHandleW(nullptr));
}

// Deletes itself on command 1; its memory is spoilt on deletion, so a later touch shows.
class SelfDeleting : public OvCmdTarget {
public:
    explicit SelfDeleting(std::vector<uint32_t>& log) : log_(log) {}
    static void operator delete(void* p, size_t size)
    {
        memset(p, 0xDD, size);
        ::operator delete(p);
    }

protected:
    void OnCommand(const OvCommand& command) override
    {
        log_.push_back(command.kind);
        if (command.kind == 1) delete this;
    }

private:
    std::vector<uint32_t>& log_;
};

TEST(CmdTarget, TargetDestroyedInsideOnCommandIsNotTouchedAgain)
{
    std::vector<uint32_t> log;
    auto* target = new SelfDeleting(log);
    HWND window = target->Window();
    std::thread([&] {
        target->PostCommand(UserCommand(1));
        target->PostCommand(UserCommand(2));
    }).join();
    PumpUntil([&] { return !log.empty(); });
    PumpUntil([] { return false; }, 200);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], 1u);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
