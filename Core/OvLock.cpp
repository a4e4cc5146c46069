#include "OvLock.h"

namespace {

// The thread-local slot holding the calling thread's counter, allocated once.
DWORD CounterSlot()
{
    static const DWORD slot = TlsAlloc();
    return slot;
}

volatile LONG* Counter()
{
    const DWORD slot = CounterSlot();
    if (slot == TLS_OUT_OF_INDEXES) return nullptr;
    const DWORD error = GetLastError();   // TlsGetValue clears it
    auto* counter = static_cast<volatile LONG*>(TlsGetValue(slot));
    SetLastError(error);
    return counter;
}

}  // namespace

OvLock::OvLock()
{
    InitializeCriticalSection(&section_);
}

OvLock::~OvLock()
{
    DeleteCriticalSection(&section_);
}

void OvLock::Enter()
{
    NoteEntering();
    EnterCriticalSection(&section_);
}

bool OvLock::TryEnter()
{
    NoteEntering();
    if (TryEnterCriticalSection(&section_)) return true;
    NoteLeft();
    return false;
}

void OvLock::Leave()
{
    LeaveCriticalSection(&section_);
    NoteLeft();
}

void OvLock::CountForCurrentThread(volatile LONG* counter)
{
    const DWORD slot = CounterSlot();
    if (slot != TLS_OUT_OF_INDEXES) TlsSetValue(slot, const_cast<LONG*>(counter));
}

void OvLock::NoteEntering()
{
    if (volatile LONG* counter = Counter()) InterlockedIncrement(counter);
}

void OvLock::NoteLeft()
{
    if (volatile LONG* counter = Counter()) InterlockedDecrement(counter);
}
