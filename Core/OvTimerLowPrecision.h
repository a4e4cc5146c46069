#pragma once
// Elapsed time in milliseconds from the system tick count.

#include <windows.h>

class OvTimerLowPrecision {
public:
    OvTimerLowPrecision() : lastTick_(GetTickCount()) {}
    virtual ~OvTimerLowPrecision() = default;

    virtual void Reset() { lastTick_ = GetTickCount(); }
    // Milliseconds since the last reset; with reset, the measurement starts again from now.
    virtual DWORD Elapsed(bool reset = false)
    {
        const DWORD now = GetTickCount();
        const DWORD elapsed = now - lastTick_;
        if (reset) lastTick_ = now;
        return elapsed;
    }

protected:
    DWORD lastTick_;
};
