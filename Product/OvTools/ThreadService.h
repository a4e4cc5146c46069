#pragma once
// The register of worker threads and the main-thread message manager: messages posted for a
// registered thread are delivered on the thread that opened the service (the one that
// initialised the library), while the thread stays registered.

#include "OvToolsInterface.h"

#include <vector>

class ThreadService : public IOvThreadService {
public:
    ThreadService();
    ~ThreadService();
    ThreadService(const ThreadService&) = delete;
    ThreadService& operator=(const ThreadService&) = delete;

    // Opened and closed on the main thread.
    void Open(HINSTANCE module);
    void Close();

    bool Register(IMainThreadMessageManagerCallback* thread) override;
    void Unregister(IMainThreadMessageManagerCallback* thread) override;
    bool PostToMainThread(IMainThreadMessageManagerCallback* thread, WPARAM first, LPARAM second) override;
    bool IsRegistered(IMainThreadMessageManagerCallback* thread) override;

private:
    struct Posted {
        IMainThreadMessageManagerCallback* thread;
        WPARAM first;
        LPARAM second;
    };
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Deliver();
    bool Contains(IMainThreadMessageManagerCallback* thread) const;
    void Lock() const;
    void Unlock() const;

    // A kernel mutex: a caller's thread that is killed inside does not leave it held.
    HANDLE mutex_;
    std::vector<IMainThreadMessageManagerCallback*> threads_;
    std::vector<Posted> posted_;
    HWND window_ = nullptr;
    HINSTANCE module_ = nullptr;
    DWORD mainThreadId_ = 0;
    // The thread whose message is being delivered (outside the lock).
    IMainThreadMessageManagerCallback* delivering_ = nullptr;
};
