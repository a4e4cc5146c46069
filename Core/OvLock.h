#pragma once
// OvLock: the library's lock (a recursive critical section).
//
// A thread started by OvThread can be hard-killed when it outlives its stop time-out. Killing it
// while it holds or waits for one of our locks would leave that lock held (or its waiter count
// wrong) for good, so each such thread counts the OvLocks it is inside, and the kill waits until
// the count is zero. Threads that are never killed do not count.

#include <windows.h>

class OvLock {
public:
    OvLock();
    ~OvLock();
    OvLock(const OvLock&) = delete;
    OvLock& operator=(const OvLock&) = delete;

    void Enter();
    bool TryEnter();
    void Leave();

    // Makes the calling thread count the locks it is inside into counter (null stops counting).
    static void CountForCurrentThread(volatile LONG* counter);
    // For locks that are not OvLocks: call before entering and after leaving them.
    static void NoteEntering();
    static void NoteLeft();

private:
    CRITICAL_SECTION section_;
};

class OvLockGuard {
public:
    explicit OvLockGuard(OvLock& lock) : lock_(lock) { lock_.Enter(); }
    ~OvLockGuard() { lock_.Leave(); }
    OvLockGuard(const OvLockGuard&) = delete;
    OvLockGuard& operator=(const OvLockGuard&) = delete;

private:
    OvLock& lock_;
};
