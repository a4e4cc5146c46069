#pragma once
// OvCmdTarget: an object with a hidden window, so that any thread can hand it commands and timer
// requests that run on the thread that created it (its owner).

#include "OvDeleteProbe.h"
#include "OvLock.h"
#include "OvString.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// A queued record. Internal records are timer requests: kind 1 sets a timer (first = id,
// second = interval), kind 2 kills one (first = id). Any other record is a user command.
struct OvCommand {
    uint32_t kind;
    uint32_t first;
    uint32_t second;
    uint32_t third;
    uint32_t internal;
};
static_assert(sizeof(OvCommand) == 20);

// Chooses the records a pump looks at: a record it does not match stays queued; a matched
// record it does not accept is removed without running.
struct IOvCommandFilter {
    virtual bool Matches(const OvCommand& command) = 0;
    virtual bool Accepts(const OvCommand& command) = 0;
};

// Matches the queued timer requests and accepts them all.
class PumpPendingTimers : public IOvCommandFilter {
public:
    bool Matches(const OvCommand& command) override;
    bool Accepts(const OvCommand&) override { return true; }
};

struct IOvCmdTarget {
    virtual bool IsValid() const = 0;
    virtual bool PostCommand(const OvCommand& command) = 0;
    virtual void PumpCommands(IOvCommandFilter* filter) = 0;
    virtual bool SetTimer(UINT id, UINT interval) = 0;
    virtual bool KillTimer(UINT id) = 0;
};

struct IOvCmdTargetEvents {
    virtual void HandleCommand(const OvCommand& command) = 0;
    virtual void HandleTimer(UINT id) = 0;
};

class OvCmdTarget : public IOvCmdTarget, public IOvCmdTargetEvents, public OvDeleteProbeHost {
public:
    static constexpr UINT kCommandMessage = 34768;
    static constexpr uint32_t kSetTimerRequest = 1;
    static constexpr uint32_t kKillTimerRequest = 2;
    static constexpr const wchar_t* kClassPrefix = L"Orvane Command Target Window Class - ";

    OvCmdTarget();

    // The window exists.
    bool IsValid() const override;
    void HandleCommand(const OvCommand& command) override { OnCommand(command); }
    // Queues the record and wakes the owner; false (dropped) without a window.
    bool PostCommand(const OvCommand& command) override;
    void HandleTimer(UINT id) override { OnTimer(id); }
    // Runs the queued records in order (on the owner thread only), filter may be null.
    void PumpCommands(IOvCommandFilter* filter) override;
    // On the owner thread: queued timer requests first, then the window timer. On any other
    // thread the request is queued for the owner. An interval of 0 is taken as 1 ms.
    bool SetTimer(UINT id, UINT interval) override;
    bool KillTimer(UINT id) override;
    // Destroys the window on the owner thread; queued records are discarded.
    virtual ~OvCmdTarget();

    HWND Window() const { return window_; }
    const OvString& ClassName() const { return className_; }
    DWORD OwnerThreadId() const { return ownerThreadId_; }

    // The window procedure of every target's class.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void OnCommand(const OvCommand&) {}
    virtual void OnTimer(UINT) {}

private:
    void CreateHiddenWindow();
    void DestroyHiddenWindow();
    // The live target that owns window, or null for any other window.
    static OvCmdTarget* FromWindow(HWND window);

    mutable OvLock lock_;
    DWORD ownerThreadId_ = 0;
    std::vector<OvCommand> queue_;
    HWND window_ = nullptr;
    OvString className_;
};
