#include "OvCmdTarget.h"

#include "OvStringFormat.h"

#include <algorithm>

namespace {

// The targets alive in this process: a window's user data is trusted only when it names one.
OvLock& RegistryLock()
{
    static auto* lock = new OvLock();
    return *lock;
}

std::vector<OvCmdTarget*>& Registry()
{
    static auto* targets = new std::vector<OvCmdTarget*>();
    return *targets;
}

constexpr int kClassNameAttempts = 64;

}  // namespace

bool PumpPendingTimers::Matches(const OvCommand& command)
{
    return command.internal &&
           (command.kind == OvCmdTarget::kSetTimerRequest || command.kind == OvCmdTarget::kKillTimerRequest);
}

OvCmdTarget::OvCmdTarget()
{
    CreateHiddenWindow();
}

OvCmdTarget::~OvCmdTarget()
{
    DestroyHiddenWindow();
}

void OvCmdTarget::CreateHiddenWindow()
{
    if (window_) return;
    ownerThreadId_ = GetCurrentThreadId();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    uint32_t value = (static_cast<uint32_t>(reinterpret_cast<uintptr_t>(instance)) * 33 + GetTickCount()) * 33 +
                     static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
    // Different targets can meet on the same value; the next one is taken then.
    OvString name;
    for (int attempt = 0; attempt < kClassNameAttempts && name.IsEmpty(); ++attempt, ++value) {
        OvString candidate = OvFormat(L"%s0x%X", kClassPrefix, value);
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = candidate;
        if (RegisterClassExW(&windowClass))
            name = candidate;
        else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return;
    }
    if (name.IsEmpty()) return;
    HWND window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_NOPARENTNOTIFY, name, L"", 0, 0, 0, 0, 0,
                                  GetDesktopWindow(), nullptr, instance, nullptr);
    if (!window) {
        UnregisterClassW(name, instance);
        return;
    }
    {
        OvLockGuard guard(RegistryLock());
        Registry().push_back(this);
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    OvLockGuard guard(lock_);
    className_ = name;
    window_ = window;
}

void OvCmdTarget::DestroyHiddenWindow()
{
    HWND window;
    {
        OvLockGuard guard(lock_);
        queue_.clear();
        window = window_;
        window_ = nullptr;   // from here on posted records are dropped
    }
    {
        OvLockGuard guard(RegistryLock());
        auto& targets = Registry();
        targets.erase(std::remove(targets.begin(), targets.end(), this), targets.end());
    }
    if (!window) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    DestroyWindow(window);
    UnregisterClassW(className_, GetModuleHandleW(nullptr));
    className_.Empty();
}

bool OvCmdTarget::IsValid() const
{
    OvLockGuard guard(lock_);
    return window_ != nullptr;
}

bool OvCmdTarget::PostCommand(const OvCommand& command)
{
    OvLockGuard guard(lock_);
    if (!window_) return false;
    queue_.push_back(command);
    PostMessageW(window_, kCommandMessage, 0, 0);
    return true;
}

void OvCmdTarget::PumpCommands(IOvCommandFilter* filter)
{
    const bool onOwner = GetCurrentThreadId() == ownerThreadId_;
    lock_.Enter();
    if (!window_) {
        lock_.Leave();
        return;
    }
    size_t i = 0;
    while (i < queue_.size()) {
        const OvCommand command = queue_[i];
        if (filter && !filter->Matches(command)) {
            ++i;
            continue;
        }
        if (filter && !filter->Accepts(command)) {
            queue_.erase(queue_.begin() + i);
            continue;
        }
        if (!onOwner) {
            ++i;
            continue;
        }
        queue_.erase(queue_.begin() + i);
        if (PumpPendingTimers().Matches(command)) {
            // Applied to the window directly: going through SetTimer would first apply the
            // requests queued after this one.
            if (command.kind == kSetTimerRequest)
                ::SetTimer(window_, command.first, command.second, nullptr);
            else
                ::KillTimer(window_, command.first);
            continue;
        }
        // Run outside the lock; the command may queue, pump or even destroy this target.
        lock_.Leave();
        {
            OvDeleteProbe probe(this);
            OnCommand(command);
            if (probe.IsDeleted()) return;
        }
        lock_.Enter();
        // The queue may have changed meanwhile: look again from the front.
        i = 0;
    }
    lock_.Leave();
}

bool OvCmdTarget::SetTimer(UINT id, UINT interval)
{
    if (interval < 1) interval = 1;
    if (GetCurrentThreadId() != ownerThreadId_) return PostCommand({kSetTimerRequest, id, interval, 0, 1});
    PumpPendingTimers pending;
    PumpCommands(&pending);
    HWND window = Window();
    return window && ::SetTimer(window, id, interval, nullptr) != 0;
}

bool OvCmdTarget::KillTimer(UINT id)
{
    if (GetCurrentThreadId() != ownerThreadId_) return PostCommand({kKillTimerRequest, id, 0, 0, 1});
    PumpPendingTimers pending;
    PumpCommands(&pending);
    HWND window = Window();
    return window && ::KillTimer(window, id) != 0;
}

OvCmdTarget* OvCmdTarget::FromWindow(HWND window)
{
    wchar_t name[128] = {};
    if (GetClassNameW(window, name, 128) <= 0) return nullptr;
    if (!OvString(name).StartsWith(kClassPrefix)) return nullptr;
    auto* target = reinterpret_cast<OvCmdTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!target) return nullptr;
    OvLockGuard guard(RegistryLock());
    const auto& targets = Registry();
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) return nullptr;
    if (target->window_ != window || !target->className_.Equals(name)) return nullptr;
    return target;
}

LRESULT CALLBACK OvCmdTarget::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        if (OvCmdTarget* target = FromWindow(window)) target->OnTimer(static_cast<UINT>(wParam));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == kCommandMessage) {
        if (OvCmdTarget* target = FromWindow(window)) target->PumpCommands(nullptr);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
