#include "OvThread.h"

#include "OvLock.h"
#include "OvLog.h"
#include "OvProcessInfo.h"
#include "OvProductLibraries.h"

#include <objbase.h>
#include <process.h>

#include <cerrno>

namespace {

typedef BOOL(WINAPI* CancelSynchronousIoProc)(HANDLE thread);

// Absent before Windows Vista.
CancelSynchronousIoProc CancelSynchronousIoEntry()
{
    static const auto entry = reinterpret_cast<CancelSynchronousIoProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo")));
    return entry;
}

IOvThreadService* ThreadService()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetThreads() : nullptr;
}

void PumpWindowMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

OvThread::OvThread() = default;

OvThread::~OvThread()
{
    Stop(-1);
    if (stopEvent_ && ownsStopEvent_) CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
}

bool OvThread::Start(int priority, bool restart)
{
    if (IsRunning() && !restart) return true;
    Stop(-1);
    RequestStop(false);
    if (!BeforeStart()) return false;
    const bool registerNow = registerOnStart_ && !registered_;
    if (registerNow) RegisterWithTools();
    if (stopEvent_ && ownsStopEvent_) CloseHandle(stopEvent_);
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ownsStopEvent_ = true;
    if (!StartThread(priority)) {
        // No thread will ever unregister this object: the register must not keep it.
        if (registerNow) UnregisterFromTools();
        return false;
    }
    ++startCount_;
    return true;
}

bool OvThread::StartThread(int priority)
{
    unsigned id = 0;
    ended_ = false;
    const uintptr_t thread = _beginthreadex(nullptr, 0, ThreadProcedure, this, CREATE_SUSPENDED, &id);
    if (!thread) {
        ended_ = true;
        OvLogReport(L"OvThread::StartThread", L"Error starting thread, errno=%d", errno);
        return false;
    }
    handle_ = reinterpret_cast<HANDLE>(thread);
    threadId_ = id;
    if (priority != 0) SetThreadPriority(handle_, priority);
    ResumeThread(handle_);
    return true;
}

unsigned __stdcall OvThread::ThreadProcedure(void* self)
{
    auto* thread = static_cast<OvThread*>(self);
    OvLock::CountForCurrentThread(&thread->locksHeld_);
    const bool com = thread->initializeCom_ && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    bool result = false;
    try {
        result = thread->Run();
    } catch (...) {
        OvLogWrite(L"OvThread::Run", L"The thread body ended with an exception");
    }
    thread->result_ = result;
    if (com) CoUninitialize();
    OvLock::CountForCurrentThread(nullptr);
    // Last touch of the object: from here on the owner may release and delete it.
    thread->ended_ = true;
    return 0;
}

bool OvThread::Stop(int timeout)
{
    if (startCount_ == 0) return true;
    if (!stopRequested_) RequestStop(true);
    // The body cannot wait for its own end (nor be suspended by itself): the request is all.
    if (threadId_ && GetCurrentThreadId() == threadId_) return false;
    if (timeout == -1) timeout = stopTimeout_;

    const DWORD start = GetTickCount();
    bool cancelTried = false;
    while (handle_ && !ended_ && WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) {
        const DWORD elapsed = GetTickCount() - start;
        if (timeout < 0 || elapsed <= static_cast<DWORD>(timeout) || !AllowHardKill()) {
            if (elapsed >= 1000 && GetThreadPriority(handle_) == THREAD_PRIORITY_ERROR_RETURN) {
                OvLogReport(L"OvThread::Stop", L"GetThreadPriority returned error, errno=%d", GetLastError());
                break;
            }
            if (pumpWhileStopping_) PumpWindowMessages();
            Sleep(pollInterval_ > 0 ? pollInterval_ : 0);
            continue;
        }
        OvLogReport(L"OvThread::Stop", L"Hard killing thread (handle=%x, threadId=%d), it exceeded timeout=%d MS",
                    reinterpret_cast<uintptr_t>(handle_), threadId_, timeout);
        if (!cancelTried) {
            cancelTried = true;
            CancelSynchronousIoProc cancel = CancelSynchronousIoEntry();
            if (cancel && cancel(handle_)) {
                Sleep(100);
                continue;
            }
        }
        HardKill();
        break;
    }

    if (registered_) UnregisterFromTools();
    if (stopEvent_ && ownsStopEvent_) CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
    ReleaseEndedThread();
    return result_.exchange(false);
}

void OvThread::HardKill()
{
    bool reported = false;
    for (;;) {
        if (ended_ || WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0) return;
        if (SuspendThread(handle_) == static_cast<DWORD>(-1)) {
            TerminateThread(handle_, 1);
            break;
        }
        // The suspension has taken effect once the thread's context can be read.
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_CONTROL;
        GetThreadContext(handle_, &context);
        if (locksHeld_ == 0) {
            TerminateThread(handle_, 1);
            break;
        }
        // Inside one of our locks: let it leave and look again.
        ResumeThread(handle_);
        if (!reported) {
            reported = true;
            OvLogReport(L"OvThread::Stop", L"Thread (threadId=%d) holds a lock, killing it once released", threadId_);
        }
        Sleep(1);
    }
    WaitForSingleObject(handle_, 5000);
}

void OvThread::ReleaseEndedThread()
{
    if (handle_) CloseThreadHandle(handle_);
    handle_ = nullptr;
    threadId_ = 0;
    locksHeld_ = 0;
    ended_ = true;
}

void OvThread::CloseThreadHandle(HANDLE handle)
{
    CloseHandle(handle);
}

void OvThread::RequestStop(bool stop)
{
    stopRequested_ = stop;
    if (!stopEvent_) return;
    if (stop)
        SetEvent(stopEvent_);
    else
        ResetEvent(stopEvent_);
}

void OvThread::RegisterWithTools()
{
    IOvThreadService* service = ThreadService();
    registered_ = service && service->Register(this);
}

void OvThread::UnregisterFromTools()
{
    IOvThreadService* service = ThreadService();
    if (service && (!unregisterNotify_ || service->IsRegistered(this))) service->Unregister(this);
    registered_ = false;
}

bool OvThread::IsRegisteredWithTools()
{
    IOvThreadService* service = ThreadService();
    return service && service->IsRegistered(this);
}

void OvThread::SetPriority(int priority)
{
    if (handle_) SetThreadPriority(handle_, priority);
}

bool OvThread::IsRunning() const
{
    return handle_ && !ended_;
}

void OvThread::Wait()
{
    if (handle_) WaitForSingleObject(handle_, INFINITE);
}

DWORD OvThread::WaitForStop(DWORD timeout, HANDLE extra)
{
    HANDLE handles[3];
    DWORD count = 0;
    if (stopEvent_) handles[count++] = stopEvent_;
    if (handle_) handles[count++] = handle_;
    if (extra) handles[count++] = extra;
    if (count == 0) return WAIT_FAILED;
    return WaitForMultipleObjects(count, handles, FALSE, timeout);
}

bool OvThread::Run()
{
    while (!stopRequested_) Sleep(100);
    return true;
}

bool OvThread::OnMainThreadMessage(WPARAM, LPARAM)
{
    return false;
}

bool IsMainThread()
{
    const OvProcessInfoBlock* block = OvProcessInfo::Block();
    return block && block->threadId == GetCurrentThreadId();
}
