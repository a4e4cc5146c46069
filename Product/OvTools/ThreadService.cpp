#include "ThreadService.h"

#include <algorithm>

namespace {
constexpr const wchar_t* kClassName = L"OvTools Main Thread Messages";
constexpr UINT kDeliverMessage = WM_APP + 1;
}  // namespace

ThreadService::ThreadService() : mutex_(CreateMutexW(nullptr, FALSE, nullptr)) {}

ThreadService::~ThreadService()
{
    Close();
    if (mutex_) CloseHandle(mutex_);
}

void ThreadService::Lock() const
{
    WaitForSingleObject(mutex_, INFINITE);   // an abandoned mutex is owned all the same
}

void ThreadService::Unlock() const
{
    ReleaseMutex(mutex_);
}

void ThreadService::Open(HINSTANCE module)
{
    if (window_) return;
    module_ = module;
    mainThreadId_ = GetCurrentThreadId();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void ThreadService::Close()
{
    Lock();
    HWND window = window_;
    window_ = nullptr;
    posted_.clear();
    Unlock();
    if (!window) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    UnregisterClassW(kClassName, module_);
}

bool ThreadService::Contains(IMainThreadMessageManagerCallback* thread) const
{
    return std::find(threads_.begin(), threads_.end(), thread) != threads_.end();
}

bool ThreadService::Register(IMainThreadMessageManagerCallback* thread)
{
    if (!thread) return false;
    Lock();
    if (!Contains(thread)) threads_.push_back(thread);
    Unlock();
    return true;
}

void ThreadService::Unregister(IMainThreadMessageManagerCallback* thread)
{
    Lock();
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
    // Nothing posted for it is delivered any more.
    posted_.erase(std::remove_if(posted_.begin(), posted_.end(), [&](const Posted& p) { return p.thread == thread; }),
                  posted_.end());
    // A delivery to it that is under way ends first, unless this is called from inside it.
    while (delivering_ == thread && GetCurrentThreadId() != mainThreadId_) {
        Unlock();
        Sleep(1);
        Lock();
    }
    Unlock();
}

bool ThreadService::IsRegistered(IMainThreadMessageManagerCallback* thread)
{
    Lock();
    const bool registered = Contains(thread);
    Unlock();
    return registered;
}

bool ThreadService::PostToMainThread(IMainThreadMessageManagerCallback* thread, WPARAM first, LPARAM second)
{
    Lock();
    const bool accepted = window_ && Contains(thread);
    if (accepted) {
        posted_.push_back({thread, first, second});
        PostMessageW(window_, kDeliverMessage, 0, 0);
    }
    Unlock();
    return accepted;
}

void ThreadService::Deliver()
{
    // One message per delivery, called outside the lock; Unregister from another thread waits
    // for it, so the thread cannot be deleted meanwhile.
    Lock();
    if (posted_.empty()) {
        Unlock();
        return;
    }
    const Posted next = posted_.front();
    posted_.erase(posted_.begin());
    if (!Contains(next.thread)) {
        Unlock();
        return;
    }
    delivering_ = next.thread;
    Unlock();
    next.thread->OnMainThreadCallback(next.first, next.second);
    Lock();
    delivering_ = nullptr;
    Unlock();
}

LRESULT CALLBACK ThreadService::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kDeliverMessage) {
        if (auto* service = reinterpret_cast<ThreadService*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            service->Deliver();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
