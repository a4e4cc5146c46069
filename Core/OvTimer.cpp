#include "OvTimer.h"

OvTimer::OvTimer()
{
    LARGE_INTEGER frequency;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        msPerTick_ = 1000.0 / static_cast<double>(frequency.QuadPart);
    lastCounter_ = Counter();
}

LONGLONG OvTimer::Counter()
{
    LARGE_INTEGER value;
    return QueryPerformanceCounter(&value) ? value.QuadPart : 0;
}

void OvTimer::Reset()
{
    OvTimerLowPrecision::Reset();
    lastCounter_ = Counter();
}

DWORD OvTimer::Elapsed(bool reset)
{
    const LONGLONG counter = Counter();
    const DWORD ticks = OvTimerLowPrecision::Elapsed(reset);
    double elapsed = static_cast<double>(counter - lastCounter_) * msPerTick_;
    if (reset) lastCounter_ = counter;
    if (elapsed - ticks > 1000.0 || ticks - elapsed > 1000.0) elapsed = ticks;
    return elapsed < 0 ? 0 : static_cast<DWORD>(elapsed);
}
