#pragma once
// OvThread: a worker thread with a stop event and a bounded stop.
//
// Derive from it and override Run; the body checks StopRequested or waits with WaitForStop.
// Stop asks the body to end and waits for it; past the stop time-out (default: wait for ever) the
// thread is hard-killed after one attempt to cancel its synchronous I/O. A kill never happens
// while the thread is inside one of our locks (see OvLock), but whatever else it holds is lost.
//
// A class whose Run uses its own members must call Stop in its own destructor: the base
// destructor stops the thread only after the derived members are gone.

#include "OvToolsInterface.h"

#include <windows.h>

#include <atomic>

class OvThread : public IMainThreadMessageManagerCallback {
public:
    OvThread();
    OvThread(const OvThread&) = delete;
    OvThread& operator=(const OvThread&) = delete;

    bool OnMainThreadCallback(WPARAM first, LPARAM second) override { return OnMainThreadMessage(first, second); }
    virtual ~OvThread();

    // Starts the thread (stopping a running one first when restart is set); false when
    // BeforeStart refuses or the thread cannot be made.
    virtual bool Start(int priority = 0, bool restart = false);
    // Stops the thread within timeout ms (-1: the stored stop time-out; negative: wait for
    // ever); returns the body's result, true when the thread was never started.
    virtual bool Stop(int timeout = -1);
    virtual void RequestStop(bool stop);
    virtual bool IsRegisteredWithTools();
    virtual void SetPriority(int priority);
    virtual bool IsRunning() const;
    virtual void Wait();
    // Waits for the stop event, the end of the thread, or extra when given; the wait's result.
    virtual DWORD WaitForStop(DWORD timeout, HANDLE extra = nullptr);
    virtual bool Result() const { return result_; }
    virtual DWORD ThreadId() const { return threadId_; }
    virtual bool StopRequested() const { return stopRequested_; }
    virtual HANDLE StopEvent() const { return stopEvent_; }
    virtual bool AllowHardKill() const { return true; }
    virtual int StartCount() const { return startCount_; }
    virtual void SetStopTimeout(int ms) { stopTimeout_ = ms; }
    virtual void SetPumpWhileStopping(bool pump) { pumpWhileStopping_ = pump; }
    virtual void SetPollInterval(int ms) { pollInterval_ = ms; }
    virtual void SetUnregisterNotify(bool notify) { unregisterNotify_ = notify; }
    virtual void SetInitializeCom(bool initialize) { initializeCom_ = initialize; }

protected:
    // The thread body; the base sleeps until stop is requested and returns true.
    virtual bool Run();
    virtual bool OnMainThreadMessage(WPARAM first, LPARAM second);
    // Called before each start; false cancels it.
    virtual bool BeforeStart() { return true; }
    virtual bool StartThread(int priority);
    virtual void CloseThreadHandle(HANDLE handle);

    // Register with the tools library's thread service when started (for derived classes).
    bool registerOnStart_ = false;

private:
    static unsigned __stdcall ThreadProcedure(void* self);
    void RegisterWithTools();
    void UnregisterFromTools();
    // Terminates the thread once it is inside none of our locks.
    void HardKill();
    void ReleaseEndedThread();

    HANDLE handle_ = nullptr;   // kept by the owner until Stop, also after the body ended
    DWORD threadId_ = 0;
    std::atomic<bool> stopRequested_{false};
    HANDLE stopEvent_ = nullptr;
    bool ownsStopEvent_ = true;
    int stopTimeout_ = -1;
    int pollInterval_ = 20;
    int startCount_ = 0;
    std::atomic<bool> result_{false};
    bool registered_ = false;
    bool pumpWhileStopping_ = false;
    bool unregisterNotify_ = true;
    bool initializeCom_ = false;
    // Set by the thread as its last touch of this object: the hand-over to Stop.
    std::atomic<bool> ended_{true};
    // Our locks the thread is inside (counted by OvLock).
    volatile LONG locksHeld_ = 0;
};

// True on the thread that filled the process information block (the program's main thread).
bool IsMainThread();
